#include "model/store/NWData.h"

#include "model/csv/CSVExport.h"
#include "model/csv/CSVImport.h"
#include "model/dates/DateUtilities.h"
#include "model/store/DataFileWriter.h"
#include "platform/Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

platform::Expected<QByteArray> NWData::csvText() const
{
    if (!m_appData)
        return platform::Unexpected(platform::Strings::tr("There is no data to export."));
    return csv::csvText(*m_appData);
}

platform::MaybeError NWData::exportToCSV(const QString& path) const
{
    const platform::Expected<QByteArray> bytes = csvText();
    return bytes ? DataFileWriter::writeFileAtomically(path, *bytes) : bytes.errorIfAny();
}

QString NWData::exportTagsAsCSV(const std::optional<QStringList>& tagIDs)
{
    return csv::exportTagsAsCSV(tagIDs);
}

QString NWData::exportCategoryIDs() const
{
    return csv::exportCategoryIDs(modelOrEmpty());
}

QString NWData::exportCategoryValues(const MVX_NWLog& record) const
{
    return csv::exportCategoryValues(modelOrEmpty(), record);
}

QString NWData::csvField(const QString& text)
{
    return csv::csvField(text);
}

QString NWData::csvNumber(std::optional<double> value)
{
    return csv::csvNumber(value);
}

platform::Expected<std::shared_ptr<MVX_Model>> NWData::importCSVFromFilePath(const QString& path)
{
    return csv::importCSVFromFilePath(path);
}

platform::Expected<std::shared_ptr<MVX_Model>> NWData::modelFromCSVData(const QByteArray& bytes)
{
    return csv::modelFromCSVData(bytes);
}

platform::Expected<std::shared_ptr<MVX_Model>> NWData::modelFromLines(const QList<QStringList>& lines)
{
    return csv::modelFromLines(lines);
}

QString NWData::beforeImportFilePath()
{
    return QDir(QDir::homePath()).filePath(beforeImportFileName);
}

platform::MaybeError NWData::installImportedModel(const std::shared_ptr<MVX_Model>& model)
{
    if (!model)
        return platform::Strings::tr("There is no imported data.");
    waitForPendingWrites();

    const QString dataPath = dataFilePath();
    if (QFileInfo::exists(dataPath)) {
        QFile current(dataPath);
        if (!current.open(QIODevice::ReadOnly))
            return platform::Strings::tr("The data file could not be copied: %1").arg(current.errorString());
        const QByteArray previous = current.readAll();
        if (platform::MaybeError failed
            = DataFileWriter::writeFileAtomically(beforeImportFilePath(), previous))
            return platform::Strings::tr("The data file could not be copied: %1").arg(*failed);
    }

    for (const auto& record : model->nwLogArray().value_or(MVX_NWLogList())) {
        if (record)
            record->setTS(DateUtilities::dayNumber(record->year().value_or(0), record->month().value_or(0)));
    }
    for (auto* list : { &model->assetscat(), &model->liabilitycat() }) {
        if (!*list)
            *list = MVX_CategoryList();
        for (const auto& category : **list) {
            if (category && !category->tags())
                category->setTags(QStringList());
        }
    }
    if (!model->tags())
        model->setTags(MVX_TagsList());
    if (!model->nwLogArray())
        model->setNwLogArray(MVX_NWLogList());

    const std::shared_ptr<MVX_Model> previousModel = m_appData;
    const MVX_NWLogList previousChart = chartNwLogArray();
    const QString previousCode = localCurrencyCode();
    const std::shared_ptr<MVX_Currency> previousCurrency = localCurrency();
    const MVX_ExchangeRateTable previousRates = exchangeRates();
    const bool previousForeign = supportsForeignCurrencies();
    const bool previousUpToDate = exchangeRateIsUpToDate();

    setAppData(model);
    setExchangeRates();
    exchangeRateUpdateOnBaseCurrencyChange();
    // The table's rates per euro are the same as before, so rates derived from them are
    // as current as they were.
    setExchangeRateIsUpToDate(previousUpToDate);
    sortNWArray(*model->nwLogArray());
    if (platform::MaybeError failed = saveData(false)) {
        setAppData(previousModel);
        setChartNwLogArray(previousChart);
        setLocalCurrencyCode(previousCode);
        setLocalCurrency(previousCurrency);
        setExchangeRates(previousRates);
        setSupportsForeignCurrencies(previousForeign);
        setExchangeRateIsUpToDate(previousUpToDate);
        return failed;
    }
    return std::nullopt;
}
