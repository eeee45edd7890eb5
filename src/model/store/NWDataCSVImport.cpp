#include "model/store/NWData.h"

#include "model/csv/CSVParseDelegate.h"
#include "model/csv/CSVParser.h"
#include "model/dates/DateUtilities.h"
#include "model/store/DataFileWriter.h"
#include "platform/Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <charconv>
#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

enum class Section { None, Tags, Assets, Liabilities, Records };

// Thrown only inside this file and caught by modelFromLines.
struct ReadError {
    QString reason;
};

QString fieldAt(const QStringList& line, qsizetype index)
{
    return index < line.size() ? line.at(index) : QString();
}

std::optional<double> readDouble(const QString& text, const QString& where)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    // Plain decimal text in the C locale only, whatever the user's locale is.
    // Room for every double in plain notation, the longest being some 330 characters.
    char buffer[512];
    qsizetype length = 0;
    bool ok = trimmed.size() < qsizetype(sizeof buffer);
    for (qsizetype i = 0; ok && i < trimmed.size(); ++i) {
        const char16_t c = trimmed.at(i).unicode();
        ok = c < 0x80;
        buffer[length++] = char(c);
    }
    const char* begin = buffer;
    if (ok && length > 1 && buffer[0] == '+' && buffer[1] != '-')
        ++begin;
    double value = 0;
    if (ok) {
        const auto [end, error] = std::from_chars(begin, buffer + length, value);
        ok = error == std::errc() && end == buffer + length;
    }
    if (!ok || !std::isfinite(value))
        throw ReadError { platform::localized("%1: \"%2\" is not a number").arg(where, text) };
    return value;
}

std::optional<int> readInteger(const QString& text, const QString& where)
{
    const std::optional<double> value = readDouble(text, where);
    if (!value)
        return std::nullopt;
    const double whole = std::trunc(*value);
    return int(
        std::clamp(whole, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

std::shared_ptr<MVX_Category> readCategory(const QStringList& line)
{
    auto category = std::make_shared<MVX_Category>();
    category->setID(fieldAt(line, 1));
    category->setCategoryName(fieldAt(line, 2));
    category->setDesc(fieldAt(line, 3));
    category->setIsForeignCurrency(fieldAt(line, 4) == u"1"_s);
    category->setCurrency(fieldAt(line, 5));
    for (qsizetype i = 6; i < line.size(); ++i) {
        if (!category->tags())
            category->setTags(QStringList());
        if (!line.at(i).isEmpty())
            category->tags()->append(line.at(i));
    }
    return category;
}

// Which list each category ID belongs to; an ID in both lists counts as an asset.
QHash<QString, bool> categorySides(const MVX_Model& model)
{
    QHash<QString, bool> isAsset;
    for (const auto& category : *model.liabilitycat())
        isAsset.insert(category->ID(), false);
    for (const auto& category : *model.assetscat())
        isAsset.insert(category->ID(), true);
    return isAsset;
}

std::shared_ptr<MVX_NWLog> readRecord(
    const QStringList& line, const QStringList& ids, const QHash<QString, bool>& isAsset, qsizetype number)
{
    const QString where = platform::localized("record line %1").arg(number);
    // Without categories the writer still ends each record line with a comma.
    const bool trailingEmpty = ids.isEmpty() && line.size() == 8 && line.at(7).isEmpty();
    const qsizetype expected = 7 + ids.size();
    if (line.size() > expected && !trailingEmpty)
        throw ReadError { platform::localized("%1 has %2 values, but the ID line has %3 category IDs")
                              .arg(where)
                              .arg(line.size() - 7)
                              .arg(ids.size()) };
    if (line.size() < expected)
        throw ReadError { platform::localized("%1 has %2 fields where %3 belong; the file may be cut short")
                              .arg(where)
                              .arg(line.size())
                              .arg(expected) };

    auto record = std::make_shared<MVX_NWLog>();
    record->setAssetLogs(MVX_CategoryLogList());
    record->setLiabilityLogs(MVX_CategoryLogList());
    record->setYear(readInteger(line.at(1), where));
    record->setMonth(readInteger(line.at(2), where));
    record->setNote(line.at(3));
    record->setAssets(readDouble(line.at(4), where));
    record->setLiabilities(readDouble(line.at(5), where));
    record->setNw(readDouble(line.at(6), where));
    for (qsizetype p = 7; p < expected; ++p) {
        const QString& id = ids.at(p - 7);
        auto log = std::make_shared<MVX_CategoryLog>();
        log->setCategoryID(id);
        log->setYear(record->year());
        log->setMonth(record->month());
        log->setValue(readDouble(line.at(p), where));
        const auto side = isAsset.constFind(id);
        if (side != isAsset.cend())
            (*side ? record->assetLogs() : record->liabilityLogs())->append(log);
    }
    return record;
}

} // namespace

std::shared_ptr<MVX_Model> NWData::modelFromLines(const QList<QStringList>& lines, QString* error)
{
    QList<QStringList> groups[5];
    Section current = Section::None;
    for (const QStringList& line : lines) {
        if (line.isEmpty())
            continue;
        const QString& first = line.first();
        if (first.contains(u"TAGS"_s))
            current = Section::Tags;
        else if (first.contains(u"Asset"_s))
            current = Section::Assets;
        else if (first.contains(u"Liability"_s))
            current = Section::Liabilities;
        else if (first.contains(u"NW"_s))
            current = Section::Records;
        if (current != Section::None)
            groups[int(current)].append(line);
    }

    auto model = std::make_shared<MVX_Model>();
    model->setVersion(importedModelVersion);
    model->setTags(MVX_TagsList());
    model->setAssetscat(MVX_CategoryList());
    model->setLiabilitycat(MVX_CategoryList());
    model->setNwLogArray(MVX_NWLogList());

    for (const QStringList& line : groups[int(Section::Tags)].mid(1)) {
        auto tag = std::make_shared<MVX_Tags>();
        tag->setID(fieldAt(line, 1));
        tag->setName(fieldAt(line, 2));
        tag->setDesc(fieldAt(line, 3));
        model->tags()->append(tag);
    }
    for (const QStringList& line : groups[int(Section::Assets)].mid(1))
        model->assetscat()->append(readCategory(line));
    for (const QStringList& line : groups[int(Section::Liabilities)].mid(1))
        model->liabilitycat()->append(readCategory(line));

    const QList<QStringList>& records = groups[int(Section::Records)];
    if (records.size() > 1) {
        const QStringList ids = records.at(1).mid(7);
        const QHash<QString, bool> isAsset = categorySides(*model);
        try {
            for (qsizetype i = 2; i < records.size(); ++i)
                model->nwLogArray()->append(readRecord(records.at(i), ids, isAsset, i - 1));
        } catch (const ReadError& failure) {
            if (error)
                *error = failure.reason;
            return nullptr;
        }
    }
    return model;
}

std::shared_ptr<MVX_Model> NWData::modelFromCSVData(const QByteArray& bytes, QString* error)
{
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError()) {
        if (error)
            *error = platform::localized("the file is not UTF-8 text");
        return nullptr;
    }
    CSVParser parser(text);
    CSVParseDelegate delegate;
    parser.setDelegate(&delegate);
    if (!parser.parse()) {
        if (error)
            *error = delegate.error();
        return nullptr;
    }
    return modelFromLines(delegate.lines(), error);
}

std::shared_ptr<MVX_Model> NWData::importCSVFromFilePath(const QString& path, QString* error)
{
    auto fail = [&](const QString& reason) -> std::shared_ptr<MVX_Model> {
        if (error)
            *error = reason;
        return nullptr;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(platform::localized("the file does not exist"));
    if (info.isDir())
        return fail(platform::localized("the path is a folder"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    return modelFromCSVData(bytes, error);
}

QString NWData::beforeImportFilePath()
{
    return QDir(QDir::homePath()).filePath(beforeImportFileName);
}

std::optional<QString> NWData::installImportedModel(const std::shared_ptr<MVX_Model>& model)
{
    if (!model)
        return platform::localized("There is no imported data.");
    waitForPendingWrites();

    const QString dataPath = dataFilePath();
    if (QFileInfo::exists(dataPath)) {
        QFile current(dataPath);
        if (!current.open(QIODevice::ReadOnly))
            return platform::localized("The data file could not be copied: %1").arg(current.errorString());
        const QByteArray previous = current.readAll();
        if (std::optional<QString> failed
            = DataFileWriter::writeFileAtomically(beforeImportFilePath(), previous))
            return platform::localized("The data file could not be copied: %1").arg(*failed);
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
    if (std::optional<QString> failed = saveData(false)) {
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
