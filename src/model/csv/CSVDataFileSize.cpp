#include "model/csv/CSVDataFileSize.h"

#include "model/csv/CSVImport.h"
#include "model/data/ModelJSONWriter.h"
#include "model/dates/DateUtilities.h"

#include <charconv>

using namespace csv::rules;

namespace {

// Each element as `ModelJSONWriter` writes it, with its texts and numbers left out.
template <size_t N> constexpr qint64 frame(const char (&)[N])
{
    return qint64(N - 1);
}
constexpr qint64 kModelFrame = frame(R"({"version":,"a_cat":[],"l_cat":[],"nw_logs":[],"tags":[],)"
                                     R"("base_currency":null,"net_worth_goal":null})");
constexpr qint64 kTagFrame = frame(R"({"ID":,"name":,"desc":,"hexColorString":null})");
constexpr qint64 kCategoryFrame
    = frame(R"({"ID":,"name":,"desc":,"is_foreign":0,"currency":,"tags":[],)"
            R"("is_depreciable":0,"depr_rate":null,"sort_order":0,"is_hidden":0})");
constexpr qint64 kRecordFrame = frame(R"({"year":,"month":,"TS":,"note":,"assets":,"liabilities":,"nw":,)"
                                      R"("a_logs":[],"l_logs":[],"gold":null,"bitcoin":null})");
constexpr qint64 kValueFrame = frame(R"({"cat":,"year":,"month":,"value":,"exch":null,"fvalue":null})");
constexpr qint64 kNull = 4;

template <typename Integer> qint64 integerLength(Integer value)
{
    char buffer[24];
    return std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer;
}

qint64 integerLength(std::optional<int> value)
{
    return value ? integerLength(*value) : kNull;
}

qint64 numberLength(std::optional<double> value)
{
    if (!value)
        return kNull;
    char buffer[ModelJSONWriter::maxNumberLength];
    return ModelJSONWriter::numberText(*value, buffer);
}

// The length of a number written as the writer writes it (an export's numbers are), or -1:
// a sign, a whole part without leading zeros, a fraction without trailing zeros, at most 15
// digits and from 1e-6 on. Such a text is the shortest that reads back as its double, since
// no two texts of 15 digits read as the same double, so the data file writes it unchanged.
qint64 plainNumberLength(QByteArrayView bytes)
{
    const char* p = bytes.begin();
    const char* const end = bytes.end();
    if (p != end && *p == '-')
        ++p;
    if (p == end || *p < '0' || *p > '9')
        return -1;
    const bool belowOne = *p == '0';
    int digits = 0;
    if (belowOne)
        ++p;
    while (p != end && *p >= '0' && *p <= '9' && !belowOne) {
        ++digits;
        ++p;
    }
    if (p != end) {
        if (*p != '.' || ++p == end)
            return -1;
        int leadingZeros = 0;
        for (; p != end && *p >= '0' && *p <= '9'; ++p) {
            if (belowOne && digits == 0 && *p == '0')
                ++leadingZeros;
            else
                ++digits;
        }
        if (p != end || end[-1] == '0' || leadingZeros > 5)
            return -1;
    }
    return digits <= 15 ? bytes.size() : -1;
}

// The bytes a number field of a record takes in the data file, read as the reader reads it
// (which throws for a field it refuses).
qint64 numberFieldLength(QByteArrayView field, qsizetype recordNumber)
{
    const qint64 length = plainNumberLength(field);
    return length >= 0 ? length : numberLength(readDouble(field, recordNumber));
}

// The field at `index` as the reader takes it: a missing one is a null text.
qint64 jsonStringAt(const std::vector<CSVByteScanner::Field>& line, size_t index)
{
    return index < line.size() ? CSVDataFileSize::jsonString(line[index]) : kNull;
}

} // namespace

CSVDataFileSize::CSVDataFileSize() : m_bytes(kModelFrame + jsonString(csv::importedModelVersion))
{
}

qint64 CSVDataFileSize::jsonString(const QString& text)
{
    if (text.isNull())
        return kNull;
    return ModelJSONWriter::stringLength(text.toUtf8());
}

qint64 CSVDataFileSize::jsonString(const Field& field)
{
    // An empty quoted field reads as a null text, an empty unquoted one as an empty text.
    if (field.bytes.isEmpty())
        return field.quoted ? kNull : 2;
    return ModelJSONWriter::stringLength(field.bytes);
}

void CSVDataFileSize::addElement(qsizetype& count, qint64 elementBytes)
{
    m_bytes += elementBytes + (count > 0 ? 1 : 0);
    ++count;
}

void CSVDataFileSize::addTag(const std::vector<Field>& line)
{
    addElement(m_tags, kTagFrame + jsonStringAt(line, 1) + jsonStringAt(line, 2) + jsonStringAt(line, 3));
}

void CSVDataFileSize::addCategory(const std::vector<Field>& line, Section section)
{
    qint64 bytes = kCategoryFrame + jsonStringAt(line, 1) + jsonStringAt(line, 2) + jsonStringAt(line, 3)
        + jsonStringAt(line, 5);
    // Empty tag fields are left out of the category's list.
    qsizetype tags = 0;
    for (size_t i = 6; i < line.size(); ++i) {
        if (!line[i].bytes.isEmpty())
            bytes += jsonString(line[i]) + (tags++ > 0 ? 1 : 0);
    }
    addElement(section == Section::Assets ? m_assets : m_liabilities, bytes);
}

void CSVDataFileSize::setValueColumns(const QStringList& ids, const std::vector<Side>& sides)
{
    m_ids = ids;
    m_sides = sides;
    for (int side = 0; side < 2; ++side) {
        m_valueCount[side] = 0;
        m_valueFrames[side] = 0;
    }
    for (qsizetype i = 0; i < ids.size(); ++i) {
        if (sides[size_t(i)] == Side::None)
            continue;
        const int side = sides[size_t(i)] == Side::Asset ? 0 : 1;
        m_valueFrames[side] += kValueFrame + jsonString(ids.at(i)) + (m_valueCount[side] > 0 ? 1 : 0);
        ++m_valueCount[side];
    }
}

void CSVDataFileSize::addRecord(const std::vector<Field>& line, qsizetype recordNumber)
{
    const qsizetype size = qsizetype(line.size());
    checkRecordWidth(size, m_ids.size(), size == 8 && line.back().bytes.isEmpty(), recordNumber);
    const std::optional<int> year = readInteger(line[1].bytes, recordNumber);
    const std::optional<int> month = readInteger(line[2].bytes, recordNumber);
    const qint64 dateBytes = integerLength(year) + integerLength(month);
    qint64 bytes = kRecordFrame + dateBytes
        + integerLength(DateUtilities::dayNumber(year.value_or(0), month.value_or(0))) + jsonString(line[3]);
    for (size_t i = 4; i < 7; ++i)
        bytes += numberFieldLength(line[i].bytes, recordNumber);
    bytes += m_valueFrames[0] + m_valueFrames[1] + (m_valueCount[0] + m_valueCount[1]) * dateBytes;
    for (qsizetype i = 0; i < m_ids.size(); ++i) {
        // Every value is read, also one whose ID names no category, so that a line the
        // reader refuses is refused here alike.
        const qint64 length = numberFieldLength(line[size_t(7 + i)].bytes, recordNumber);
        if (m_sides[size_t(i)] != Side::None)
            bytes += length;
    }
    addElement(m_records, bytes);
}
