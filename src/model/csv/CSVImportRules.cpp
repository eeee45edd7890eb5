#include "model/csv/CSVImportRules.h"

#include "model/csv/CSVImport.h"
#include "platform/Strings.h"

#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;
using platform::Strings;

namespace csv::rules {

namespace {

// Room for every double in plain notation, the longest being some 330 characters.
constexpr qsizetype kNumberRoom = 512;

// Parses [begin, end) whole as a finite double; a leading "+" is taken unless "-" follows.
bool parseNumber(const char* begin, const char* end, double& value)
{
    if (end - begin > 1 && begin[0] == '+' && begin[1] != '-')
        ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

[[noreturn]] void notANumber(const QString& where, const QString& text)
{
    throw ReadError { Strings::tr("%1: \"%2\" is not a number").arg(where, text) };
}

std::optional<int> clampedWhole(std::optional<double> value)
{
    if (!value)
        return std::nullopt;
    const double whole = std::trunc(*value);
    return int(
        std::clamp(whole, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

bool isAsciiSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

Section sectionOf(const QString& firstField)
{
    if (firstField.contains(u"TAGS"_s))
        return Section::Tags;
    if (firstField.contains(u"Asset"_s))
        return Section::Assets;
    if (firstField.contains(u"Liability"_s))
        return Section::Liabilities;
    if (firstField.contains(u"NW"_s))
        return Section::Records;
    return Section::None;
}

Section sectionOf(QByteArrayView firstField)
{
    // The markers are ASCII, which UTF-8 never uses inside another character.
    if (firstField.contains("TAGS"))
        return Section::Tags;
    if (firstField.contains("Asset"))
        return Section::Assets;
    if (firstField.contains("Liability"))
        return Section::Liabilities;
    if (firstField.contains("NW"))
        return Section::Records;
    return Section::None;
}

QString fieldAt(const QStringList& line, qsizetype index)
{
    return index < line.size() ? line.at(index) : QString();
}

QString decodeUtf8(QByteArrayView bytes)
{
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(QStringConverter::Utf8,
        QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

std::optional<double> readDouble(const QString& text, const QString& where)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    // Plain decimal text in the C locale only, whatever the user's locale is.
    char buffer[kNumberRoom];
    qsizetype length = 0;
    bool ok = trimmed.size() < kNumberRoom;
    for (qsizetype i = 0; ok && i < trimmed.size(); ++i) {
        const char16_t c = trimmed.at(i).unicode();
        ok = c < 0x80;
        buffer[length++] = char(c);
    }
    double value = 0;
    if (!ok || !parseNumber(buffer, buffer + length, value))
        notANumber(where, text);
    return value;
}

std::optional<double> readDouble(QByteArrayView bytes, qsizetype recordNumber)
{
    // Beyond ASCII, white space has more forms than these: the text path trims them all.
    if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; }))
        return readDouble(decodeUtf8(bytes), recordName(recordNumber));
    const char* begin = bytes.data();
    const char* end = begin + bytes.size();
    while (begin < end && isAsciiSpace(*begin))
        ++begin;
    while (end > begin && isAsciiSpace(end[-1]))
        --end;
    if (begin == end)
        return std::nullopt;
    double value = 0;
    if (end - begin >= kNumberRoom || !parseNumber(begin, end, value))
        notANumber(recordName(recordNumber), decodeUtf8(bytes));
    return value;
}

std::optional<int> readInteger(const QString& text, const QString& where)
{
    return clampedWhole(readDouble(text, where));
}

std::optional<int> readInteger(QByteArrayView bytes, qsizetype recordNumber)
{
    return clampedWhole(readDouble(bytes, recordNumber));
}

QString recordName(qsizetype recordNumber)
{
    return Strings::tr("record line %1").arg(recordNumber);
}

std::shared_ptr<MVX_Tags> readTag(const QStringList& line)
{
    auto tag = std::make_shared<MVX_Tags>();
    tag->setID(fieldAt(line, 1));
    tag->setName(fieldAt(line, 2));
    tag->setDesc(fieldAt(line, 3));
    return tag;
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

// The ID line does not say on which side an ID's values belong, so an ID in both lists
// would put its values on one side without a word.
QHash<QString, bool> categorySides(const MVX_Model& model)
{
    QHash<QString, bool> isAsset;
    for (const auto& category : *model.liabilitycat())
        isAsset.insert(category->ID(), false);
    for (const auto& category : *model.assetscat()) {
        if (isAsset.value(category->ID(), true) == false)
            throw ReadError { Strings::tr("the category ID \"%1\" is both an asset and a liability category")
                                  .arg(category->ID()) };
        isAsset.insert(category->ID(), true);
    }
    return isAsset;
}

bool isIDLine(const QStringList& line)
{
    return line.size() >= 7 && std::all_of(line.cbegin(), line.cbegin() + 7, [](const QString& field) {
        return field.isEmpty();
    });
}

void checkRecordWidth(qsizetype fieldCount, qsizetype idCount, bool lastFieldEmpty, qsizetype recordNumber)
{
    // Without categories the writer still ends each record line with a comma.
    const bool trailingEmpty = idCount == 0 && fieldCount == 8 && lastFieldEmpty;
    const qsizetype expected = 7 + idCount;
    if (fieldCount > expected && !trailingEmpty)
        throw ReadError { Strings::tr("%1 has %2 values, but the ID line has %3 category IDs")
                              .arg(recordName(recordNumber))
                              .arg(fieldCount - 7)
                              .arg(idCount) };
    if (fieldCount < expected)
        throw ReadError { Strings::tr("%1 has %2 fields where %3 belong; the file may be cut short")
                              .arg(recordName(recordNumber))
                              .arg(fieldCount)
                              .arg(expected) };
}

std::shared_ptr<MVX_Model> importedModelWithoutRecords(const QList<QStringList>* groups)
{
    auto model = std::make_shared<MVX_Model>();
    model->setVersion(importedModelVersion);
    model->setTags(MVX_TagsList());
    model->setAssetscat(MVX_CategoryList());
    model->setLiabilitycat(MVX_CategoryList());
    model->setNwLogArray(MVX_NWLogList());
    for (const QStringList& line : groups[int(Section::Tags)].mid(1))
        model->tags()->append(readTag(line));
    for (const QStringList& line : groups[int(Section::Assets)].mid(1))
        model->assetscat()->append(readCategory(line));
    for (const QStringList& line : groups[int(Section::Liabilities)].mid(1))
        model->liabilitycat()->append(readCategory(line));
    return model;
}

QString noRecordsSection()
{
    return Strings::tr(
        "the file has no monthly records section: it is not an export of Mervane, or it was cut short");
}

QString noIDLine()
{
    return Strings::tr("the monthly records section has no line of category IDs; the file may be cut short");
}

QString stopReason()
{
    return Strings::tr("the reading was stopped");
}

QString tooLargeReason(qint64 maxDataFileSize)
{
    constexpr qint64 mebibyte = qint64(1) << 20;
    constexpr qint64 gibibyte = qint64(1) << 30;
    const QString size = maxDataFileSize % gibibyte == 0
        ? Strings::tr("%1 GiB").arg(maxDataFileSize / gibibyte)
        : maxDataFileSize % mebibyte == 0 ? Strings::tr("%1 MiB").arg(maxDataFileSize / mebibyte)
                                          : Strings::tr("%1 bytes").arg(maxDataFileSize);
    return Strings::tr("the data would make a data file larger than %1, the largest Mervane can read back")
        .arg(size);
}

} // namespace csv::rules
