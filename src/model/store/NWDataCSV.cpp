#include "model/store/NWData.h"

#include "model/csv/CSVExport.h"
#include "model/csv/CSVImport.h"
#include "model/data/ModelRules.h"
#include "model/dates/DateUtilities.h"
#include "model/store/DataFileWriter.h"
#include "platform/Strings.h"

platform::Expected<QByteArray> NWData::csvText() const
{
    if (!m_appData)
        return platform::Unexpected(platform::Strings::tr("There is no data to export."));
    return csv::csvText(*m_appData);
}

platform::MaybeError NWData::exportToCSV(const QString& path) const
{
    platform::Expected<QByteArray> bytes = csvText();
    return bytes ? m_writer->writeAndWait(path, std::move(*bytes)) : bytes.errorIfAny();
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

platform::MaybeError NWData::installImportedModel(const std::shared_ptr<MVX_Model>& model)
{
    if (!model)
        return platform::Strings::tr("There is no imported data.");
    if (const ModelRules::Report broken = ModelRules::check(*model); !broken.isEmpty())
        return broken.summary();

    for (const auto& record : model->nwLogArray().value_or(MVX_NWLogList())) {
        if (record)
            record->setTS(DateUtilities::dayNumber(record->year().value_or(0), record->month().value_or(0)));
    }
    ensureModelLists(*model);

    const bool upToDate = exchangeRateIsUpToDate();
    return replaceModel(beforeImportKind, [&] {
        setAppData(model);
        setExchangeRates();
        exchangeRateUpdateOnBaseCurrencyChange();
        // The table's rates per euro are the same as before, so rates derived from them are
        // as current as they were.
        setExchangeRateIsUpToDate(upToDate);
        sortNWArray(*model->nwLogArray());
    });
}
