#include "model/csv/CSVImport.h"

#include "model/csv/CSVParseDelegate.h"
#include "model/csv/CSVParser.h"
#include "platform/FileIO.h"
#include "platform/Strings.h"

#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>
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
        throw ReadError { platform::Strings::tr("%1: \"%2\" is not a number").arg(where, text) };
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

// Which list each category ID belongs to. The ID line does not say, so an ID in both lists
// would put its values on one side without a word.
QHash<QString, bool> categorySides(const MVX_Model& model)
{
    QHash<QString, bool> isAsset;
    for (const auto& category : *model.liabilitycat())
        isAsset.insert(category->ID(), false);
    for (const auto& category : *model.assetscat()) {
        if (isAsset.value(category->ID(), true) == false)
            throw ReadError { platform::Strings::tr(
                "the category ID \"%1\" is both an asset and a liability category")
                                  .arg(category->ID()) };
        isAsset.insert(category->ID(), true);
    }
    return isAsset;
}

// Seven empty fields, then the IDs: what stands below the records section's header.
bool isIDLine(const QStringList& line)
{
    return line.size() >= 7 && std::all_of(line.cbegin(), line.cbegin() + 7, [](const QString& field) {
        return field.isEmpty();
    });
}

std::shared_ptr<MVX_NWLog> readRecord(
    const QStringList& line, const QStringList& ids, const QHash<QString, bool>& isAsset, qsizetype number)
{
    const QString where = platform::Strings::tr("record line %1").arg(number);
    // Without categories the writer still ends each record line with a comma.
    const bool trailingEmpty = ids.isEmpty() && line.size() == 8 && line.at(7).isEmpty();
    const qsizetype expected = 7 + ids.size();
    if (line.size() > expected && !trailingEmpty)
        throw ReadError { platform::Strings::tr("%1 has %2 values, but the ID line has %3 category IDs")
                              .arg(where)
                              .arg(line.size() - 7)
                              .arg(ids.size()) };
    if (line.size() < expected)
        throw ReadError { platform::Strings::tr("%1 has %2 fields where %3 belong; the file may be cut short")
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

namespace csv {

platform::Expected<std::shared_ptr<MVX_Model>> modelFromLines(const QList<QStringList>& lines)
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

    // Without the records section the file would replace every record with none.
    const QList<QStringList>& records = groups[int(Section::Records)];
    if (records.isEmpty())
        return platform::Unexpected(platform::Strings::tr(
            "the file has no monthly records section: it is not an export of Mervane, or it was cut short"));
    if (records.size() < 2 || !isIDLine(records.at(1)))
        return platform::Unexpected(platform::Strings::tr(
            "the monthly records section has no line of category IDs; the file may be cut short"));
    const QStringList ids = records.at(1).mid(7);
    try {
        const QHash<QString, bool> isAsset = categorySides(*model);
        for (qsizetype i = 2; i < records.size(); ++i)
            model->nwLogArray()->append(readRecord(records.at(i), ids, isAsset, i - 1));
    } catch (const ReadError& failure) {
        return platform::Unexpected(failure.reason);
    }
    return model;
}

platform::Expected<std::shared_ptr<MVX_Model>> modelFromCSVData(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return platform::Unexpected(platform::Strings::tr("the file is not UTF-8 text"));
    CSVParser parser(text);
    CSVParseDelegate delegate;
    parser.setDelegate(&delegate);
    if (!parser.parse())
        return platform::Unexpected(delegate.error());
    return modelFromLines(delegate.lines());
}

platform::Expected<std::shared_ptr<MVX_Model>> importCSVFromFilePath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return platform::Unexpected(platform::Strings::tr("the file does not exist"));
    if (info.isDir())
        return platform::Unexpected(platform::Strings::tr("the path is a folder"));
    // A pipe or a device chosen by mistake is refused instead of read without end.
    const platform::Expected<platform::FileContents> contents = platform::readRegularFile(path);
    if (!contents)
        return platform::Unexpected(contents.error());
    return modelFromCSVData(contents->bytes);
}

} // namespace csv
