#include "model/csv/CSVImport.h"

#include "model/csv/CSVByteScanner.h"
#include "model/csv/CSVDataFileSize.h"
#include "model/csv/CSVImportRules.h"
#include "model/csv/CSVParseDelegate.h"
#include "model/csv/CSVParser.h"
#include "platform/FileIO.h"
#include "platform/Strings.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <vector>

using namespace Qt::Literals::StringLiterals;
using namespace csv::rules;

namespace {

using Field = CSVByteScanner::Field;

// Large enough to cost little per step, small enough to answer a stop at once.
constexpr qsizetype kCheckChunk = qsizetype(4) << 20;

QStringList textsOf(const std::vector<Field>& fields)
{
    QStringList texts;
    texts.reserve(qsizetype(fields.size()));
    for (const Field& field : fields)
        texts.append(CSVByteScanner::text(field));
    return texts;
}

std::shared_ptr<MVX_NWLog> readRecord(
    const QStringList& line, const QStringList& ids, const QHash<QString, bool>& isAsset, qsizetype number)
{
    const QString where = recordName(number);
    checkRecordWidth(line.size(), ids.size(), line.size() == 8 && line.at(7).isEmpty(), number);
    auto record = std::make_shared<MVX_NWLog>();
    record->setAssetLogs(MVX_CategoryLogList());
    record->setLiabilityLogs(MVX_CategoryLogList());
    record->setYear(readInteger(line.at(1), where));
    record->setMonth(readInteger(line.at(2), where));
    record->setNote(line.at(3));
    record->setAssets(readDouble(line.at(4), where));
    record->setLiabilities(readDouble(line.at(5), where));
    record->setNw(readDouble(line.at(6), where));
    for (qsizetype p = 7; p < 7 + ids.size(); ++p) {
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

// The same from the fields as read from the bytes, with each list made to its size.
std::shared_ptr<MVX_NWLog> readRecord(const std::vector<Field>& line, const QStringList& ids,
    const std::vector<Side>& sides, qsizetype assetCount, qsizetype number)
{
    const qsizetype size = qsizetype(line.size());
    checkRecordWidth(size, ids.size(), size == 8 && line.back().bytes.isEmpty(), number);
    auto record = std::make_shared<MVX_NWLog>();
    const std::optional<int> year = readInteger(line[1].bytes, number);
    const std::optional<int> month = readInteger(line[2].bytes, number);
    record->setYear(year);
    record->setMonth(month);
    record->setNote(CSVByteScanner::text(line[3]));
    record->setAssets(readDouble(line[4].bytes, number));
    record->setLiabilities(readDouble(line[5].bytes, number));
    record->setNw(readDouble(line[6].bytes, number));
    MVX_CategoryLogList assets;
    MVX_CategoryLogList liabilities;
    assets.reserve(assetCount);
    liabilities.reserve(qsizetype(sides.size()) - assetCount);
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const std::optional<double> value = readDouble(line[size_t(7 + i)].bytes, number);
        if (sides[size_t(i)] == Side::None)
            continue;
        auto log = std::make_shared<MVX_CategoryLog>();
        log->setCategoryID(ids.at(i));
        log->setYear(year);
        log->setMonth(month);
        log->setValue(value);
        (sides[size_t(i)] == Side::Asset ? assets : liabilities).append(std::move(log));
    }
    record->setAssetLogs(std::move(assets));
    record->setLiabilityLogs(std::move(liabilities));
    return record;
}

// How many of the bytes the text decoder turns into text, or why it cannot. A sequence cut
// off at the very end is left out, as the decoder leaves it out.
platform::Expected<qsizetype> utf8Length(const QByteArray& bytes, const std::function<bool()>& stopRequested)
{
    QStringDecoder decoder(QStringConverter::Utf8);
    // The decoded text is not kept: one chunk's room serves every step.
    const qsizetype chunk = std::min(kCheckChunk, bytes.size());
    std::vector<QChar> room(size_t(decoder.requiredSpace(chunk)));
    for (qsizetype at = 0; at < bytes.size(); at += chunk) {
        if (stopRequested())
            return platform::Unexpected(stopReason());
        decoder.appendToBuffer(
            room.data(), QByteArrayView(bytes).sliced(at, std::min(chunk, bytes.size() - at)));
        if (decoder.hasError())
            return platform::Unexpected(platform::Strings::tr("the file is not UTF-8 text"));
    }
    qsizetype end = bytes.size();
    for (qsizetype back = 1; back <= 3 && back <= end; ++back) {
        const uchar c = uchar(bytes.at(end - back));
        if ((c & 0xC0) == 0x80)
            continue;
        const qsizetype length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (length > back)
            end -= back;
        break;
    }
    return end;
}

} // namespace

namespace csv {

QString stoppedReason()
{
    return stopReason();
}

platform::Expected<std::shared_ptr<MVX_Model>> modelFromLines(const QList<QStringList>& lines)
{
    QList<QStringList> groups[5];
    Section current = Section::None;
    for (const QStringList& line : lines) {
        if (line.isEmpty())
            continue;
        if (const Section section = sectionOf(line.first()); section != Section::None)
            current = section;
        if (current != Section::None)
            groups[int(current)].append(line);
    }

    auto model = importedModelWithoutRecords(groups);

    // Without the records section the file would replace every record with none.
    const QList<QStringList>& records = groups[int(Section::Records)];
    if (records.isEmpty())
        return platform::Unexpected(noRecordsSection());
    if (records.size() < 2 || !isIDLine(records.at(1)))
        return platform::Unexpected(noIDLine());
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
    return modelFromCSVData(bytes, StopRequest());
}

platform::Expected<std::shared_ptr<MVX_Model>> modelFromCSVData(
    const QByteArray& bytes, const StopRequest& stop, qint64 maxDataFileSize)
{
    const auto stopRequested = [&stop] { return stop && stop(); };
    const platform::Expected<qsizetype> length = utf8Length(bytes, stopRequested);
    if (!length)
        return platform::Unexpected(length.error());
    QByteArrayView text = QByteArrayView(bytes).first(*length);
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);

    // First pass: where each line of each section starts, and the bytes the tags and the
    // categories take in the data file.
    std::vector<qsizetype> sectionLines[5];
    CSVDataFileSize dataFileSize;
    Section current = Section::None;
    CSVByteScanner scanner(text);
    for (;;) {
        if (stopRequested())
            return platform::Unexpected(stopReason());
        const CSVByteScanner::Step step = scanner.next();
        if (step == CSVByteScanner::Step::Failed)
            return platform::Unexpected(scanner.error());
        if (step == CSVByteScanner::Step::End)
            break;
        if (const Section section = sectionOf(scanner.fields().front().bytes); section != Section::None)
            current = section;
        if (current == Section::None)
            continue;
        std::vector<qsizetype>& lines = sectionLines[int(current)];
        // The first line of each section is its header; a repeated header is data.
        if (!lines.empty() && current == Section::Tags)
            dataFileSize.addTag(scanner.fields());
        else if (!lines.empty() && current != Section::Records)
            dataFileSize.addCategory(scanner.fields(), current);
        lines.push_back(scanner.recordOffset());
        if (dataFileSize.bytes() > maxDataFileSize)
            return platform::Unexpected(tooLargeReason(maxDataFileSize));
    }

    const std::vector<qsizetype>& recordLines = sectionLines[int(Section::Records)];
    if (recordLines.empty())
        return platform::Unexpected(noRecordsSection());
    const auto linesAt = [&scanner](const std::vector<qsizetype>& offsets) {
        QList<QStringList> lines;
        lines.reserve(qsizetype(offsets.size()));
        for (const qsizetype offset : offsets) {
            scanner.seek(offset);
            scanner.next();
            lines.append(textsOf(scanner.fields()));
        }
        return lines;
    };
    std::shared_ptr<MVX_Model> model;
    {
        QList<QStringList> groups[4];
        for (const Section section : { Section::Tags, Section::Assets, Section::Liabilities })
            groups[int(section)] = linesAt(sectionLines[int(section)]);
        model = importedModelWithoutRecords(groups);
    }

    QStringList idLine;
    if (recordLines.size() >= 2) {
        scanner.seek(recordLines[1]);
        scanner.next();
        idLine = textsOf(scanner.fields());
    }
    if (!isIDLine(idLine))
        return platform::Unexpected(noIDLine());
    const QStringList ids = idLine.mid(7);

    try {
        const QHash<QString, bool> isAsset = categorySides(*model);
        std::vector<Side> sides;
        sides.reserve(size_t(ids.size()));
        qsizetype assetCount = 0;
        for (const QString& id : ids) {
            const auto side = isAsset.constFind(id);
            sides.push_back(side == isAsset.cend() ? Side::None : *side ? Side::Asset : Side::Liability);
            assetCount += sides.back() == Side::Asset;
        }

        // Second pass: the records' bytes in the data file, which a model takes many times
        // over; a file whose data file would be refused ends here.
        dataFileSize.setValueColumns(ids, sides);
        for (size_t i = 2; i < recordLines.size(); ++i) {
            if (stopRequested())
                return platform::Unexpected(stopReason());
            scanner.seek(recordLines[i]);
            scanner.next();
            dataFileSize.addRecord(scanner.fields(), qsizetype(i) - 1);
            if (dataFileSize.bytes() > maxDataFileSize)
                return platform::Unexpected(tooLargeReason(maxDataFileSize));
        }

        // Third pass: each record straight from its line.
        MVX_NWLogList& records = *model->nwLogArray();
        records.reserve(qsizetype(recordLines.size()) - 2);
        for (size_t i = 2; i < recordLines.size(); ++i) {
            if (stopRequested())
                return platform::Unexpected(stopReason());
            scanner.seek(recordLines[i]);
            scanner.next();
            records.append(readRecord(scanner.fields(), ids, sides, assetCount, qsizetype(i) - 1));
        }
    } catch (const ReadError& failure) {
        return platform::Unexpected(failure.reason);
    }
    return model;
}

platform::Expected<std::shared_ptr<MVX_Model>> importCSVFromFilePath(const QString& path)
{
    return importCSVFromFilePath(path, StopRequest());
}

platform::Expected<std::shared_ptr<MVX_Model>> importCSVFromFilePath(
    const QString& path, const StopRequest& stop, qint64 maxDataFileSize)
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
    return modelFromCSVData(contents->bytes, stop, maxDataFileSize);
}

} // namespace csv
