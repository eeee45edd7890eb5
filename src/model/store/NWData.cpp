#include "model/store/NWData.h"

#include "model/ModelNotifications.h"
#include "model/data/ImportModel.h"
#include "model/data/ModelJSONWriter.h"
#include "model/data/ModelRules.h"
#include "model/settings/Preferences.h"
#include "model/store/DataFileWriter.h"
#include "platform/FileIO.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

void postDataReFetched()
{
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
}

// The record's month as one number that orders like its date, month 0 and 13 included.
qint64 monthKey(const std::shared_ptr<MVX_NWLog>& record)
{
    if (!record)
        return std::numeric_limits<qint64>::min();
    return qint64(record->year().value_or(0)) * 12 + (record->month().value_or(0) - 1);
}

// The document, with what breaks the model's rules left out of its model.
struct ReadDocument {
    ModelReadResult read;
    ModelRules::Report broken;

    bool hasLeftOutParts() const { return read.hasUnreadableParts() || !broken.isEmpty(); }
    QString leftOutSummary() const
    {
        QStringList parts;
        if (read.hasUnreadableParts())
            parts.append(read.unreadableSummary());
        if (!broken.isEmpty())
            parts.append(
                platform::Strings::tr("left out as breaking the model's rules: %1").arg(broken.summary()));
        return parts.join(u"; "_s);
    }
};

platform::Expected<ReadDocument> readLeavingOutBroken(const QByteArray& bytes)
{
    platform::Expected<ModelReadResult> read = ImportModel::read(bytes);
    if (!read)
        return platform::Unexpected(read.error());
    ReadDocument document { std::move(*read), {} };
    document.broken = ModelRules::leaveOutBroken(*document.read.model);
    return document;
}

// The limit as the reader words it: "larger than 1024 MB".
QString sizeText(qint64 bytes)
{
    constexpr qint64 megabyte = 1024 * 1024;
    return bytes >= megabyte ? platform::Strings::tr("%1 MB").arg(bytes / megabyte)
                             : platform::Strings::tr("%1 bytes").arg(bytes);
}

} // namespace

NWData* NWData::shared()
{
    // Never released: screens and the writer thread may use it until the process ends.
    static NWData* const instance = [] {
        auto* store = new NWData;
        // Save completions are delivered through the store's thread: the main thread,
        // whichever thread asked first.
        if (QCoreApplication::instance())
            store->moveToThread(QCoreApplication::instance()->thread());
        return store;
    }();
    return instance;
}

NWData::NWData(QObject* parent)
    : QObject(parent)
    , m_startDate(1900, 1, 1)
    , m_tagColors(makeTagColors())
    , m_writer(std::make_unique<DataFileWriter>())
{
    platform::UserDefaults& defaults = platform::UserDefaults::standard();
    if (defaults.contains(filterIDArrayKey))
        m_selectedTagIDs = defaults.stringList(filterIDArrayKey);
    for (const auto& row : makeCurrencyTable())
        m_supportedCurrencies.insert(row->ShortName(), row);
}

NWData::~NWData()
{
    m_writer->waitForPendingWrites();
}

QString NWData::dataFilePath()
{
    return QDir(QDir::homePath()).filePath(dataFileName);
}

void NWData::ensureModelLists(MVX_Model& model)
{
    if (!model.tags())
        model.setTags(MVX_TagsList());
    if (!model.nwLogArray())
        model.setNwLogArray(MVX_NWLogList());
    for (auto* list : { &model.assetscat(), &model.liabilitycat() }) {
        if (!*list)
            *list = MVX_CategoryList();
        for (const auto& category : **list) {
            if (category && !category->tags())
                category->setTags(QStringList());
        }
    }
}

void NWData::setAppData(std::shared_ptr<MVX_Model> model)
{
    m_appData = std::move(model);
    rememberDataFile(std::nullopt, ++m_writeSequence);
    ++m_modelGeneration;
}

void NWData::storeGoalDefault()
{
    // The charts read the goal from the settings. A model without one leaves the setting
    // alone: a missing key is "No goal" there, and a cleared goal must stay cleared.
    const std::optional<double> goal = m_appData ? m_appData->ridIrevuGoal() : std::nullopt;
    if (goal && std::isfinite(*goal))
        Preferences::setGoalAmount(*goal);
}

void NWData::installModel(std::shared_ptr<MVX_Model> model)
{
    m_appData = std::move(model);
    setExchangeRates();
    exchangeRateUpdateOnBaseCurrencyChange();
    ensureModelLists(*m_appData);
    sortNWArray(*m_appData->nwLogArray());
}

platform::MaybeError NWData::getApplicationData()
{
    m_writer->waitForPendingWrites();
    const QString path = dataFilePath();
    // A save killed in an earlier run may have left a version beside the data file.
    for (const QString& copy : platform::settleLeftoverWrites(path, DataFileWriter::conflictKind))
        qWarning("A version of the data file that a killed save left is kept as %s", qPrintable(copy));
    const quint64 sequence = ++m_writeSequence;
    ++m_modelGeneration;
    // What a failed save goes back to when the file held no model.
    const auto emptyModel = [this, sequence] {
        installModel(MVX_Model::makeEmpty());
        platform::Expected<QByteArray> bytes = ModelJSONWriter::toJSON(*m_appData);
        rememberDataFile(bytes ? std::optional(*bytes) : std::nullopt, sequence);
    };
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        guardDataFile(std::nullopt);
        emptyModel();
        postDataReFetched();
        return std::nullopt;
    }

    const platform::Expected<platform::FileContents> contents
        = platform::readRegularFile(path, m_maxFileSize);
    platform::Expected<ReadDocument> result = contents
        ? readLeavingOutBroken(contents->bytes)
        : platform::Expected<ReadDocument>(
            platform::Unexpected(ImportModel::openingFailure(contents.error())));
    // A file that could not be read is known by its stamp alone: it is kept aside before
    // the first save, and is another program's only when the stamp changes.
    std::optional<platform::FileIdentity> loaded;
    if (contents)
        loaded = platform::FileIdentity { contents->stamp, platform::contentHash(contents->bytes) };
    else if (const std::optional<platform::FileStamp> stamp = platform::fileStamp(path))
        loaded = platform::FileIdentity { *stamp, {} };
    guardDataFile(loaded);
    if (!result) {
        // Keep the version and the lists so that every insert works, and keep the file
        // itself: the first save copies it aside before replacing it.
        emptyModel();
        m_writer->preserveBeforeNextWrite(path);
        return result.error();
    }
    installModel(result->read.model);
    rememberDataFile(contents->bytes, sequence);
    storeGoalDefault();
    platform::MaybeError note;
    if (result->hasLeftOutParts()) {
        m_writer->preserveBeforeNextWrite(path);
        note = result->leftOutSummary();
    }
    postDataReFetched();
    return note;
}

void NWData::guardDataFile(std::optional<platform::FileIdentity> loaded)
{
    m_writer->guardAgainstOtherWriters(dataFilePath(), std::move(loaded), [this](const QString& copyPath) {
        platform::runLater(this, [copyPath] {
            platform::NotificationCenter::defaultCenter().post(
                notifications::dataFileConflict, {}, { { notifications::copyPathKey, copyPath } });
        });
    });
}

platform::Expected<QByteArray> NWData::serialise()
{
    if (!m_appData)
        return platform::Unexpected(platform::Strings::tr("There is no data to save yet."));
    sortNWArray(m_appData->nwLogArray().value_or(MVX_NWLogList()));
    return ModelJSONWriter::toJSON(*m_appData);
}

platform::MaybeError NWData::fitsReadLimit(const QByteArray& bytes) const
{
    if (bytes.size() <= m_maxFileSize)
        return std::nullopt;
    return platform::Strings::tr(
        "The data would make a file larger than %1, the most Mervane can read back, so nothing was written.")
        .arg(sizeText(m_maxFileSize));
}

platform::MaybeError NWData::writeDataFile(QByteArray bytes)
{
    if (platform::MaybeError tooLarge = fitsReadLimit(bytes))
        return tooLarge;
    const quint64 sequence = ++m_writeSequence;
    if (platform::MaybeError error = m_writer->writeAndWait(dataFilePath(), bytes))
        return error;
    rememberDataFile(std::move(bytes), sequence);
    return std::nullopt;
}

platform::MaybeError NWData::saveData(bool /*flag*/)
{
    platform::Expected<QByteArray> bytes = serialise();
    if (!bytes)
        return bytes.error();
    return writeDataFile(std::move(*bytes));
}

void NWData::saveDataAsync(QObject* context, std::function<void(platform::MaybeError)> completion)
{
    QPointer<QObject> guard(context ? context : this);
    platform::Expected<QByteArray> bytes = serialise();
    if (!bytes) {
        // Nothing was written and there is no model to take back.
        platform::runLater(this, [guard, completion = std::move(completion), error = bytes.error()] {
            if (guard && completion)
                completion(error);
        });
        return;
    }
    const quint64 generation = m_modelGeneration;
    if (platform::MaybeError tooLarge = fitsReadLimit(*bytes)) {
        // Refused like a failed write: the model goes back to what the file holds, or every
        // later save would be refused as well.
        platform::runLater(this, [this, guard, generation, completion = std::move(completion), tooLarge] {
            if (generation == m_modelGeneration)
                installDataFileModel();
            if (guard && completion)
                completion(tooLarge);
        });
        return;
    }
    const quint64 sequence = ++m_writeSequence;
    const QByteArray written = *bytes;
    m_writer->write(dataFilePath(), std::move(*bytes),
        [this, guard, sequence, generation, written, completion = std::move(completion)](
            platform::MaybeError result) {
            // Always through the store, which outlives its pending writes; the caller's
            // context may be gone by the time the write finishes.
            platform::runLater(this, [this, guard, sequence, generation, written, completion, result] {
                dataFileWriteEnded(sequence, generation, written, !result);
                if (guard && completion)
                    completion(result);
            });
        });
}

void NWData::rememberDataFile(std::optional<QByteArray> bytes, quint64 sequence)
{
    if (sequence < m_dataFileSequence)
        return;
    m_dataFileBytes = std::move(bytes);
    m_dataFileSequence = sequence;
}

void NWData::dataFileWriteEnded(quint64 sequence, quint64 generation, const QByteArray& bytes, bool written)
{
    if (written) {
        // A later load, write or replaced model already says what the file holds.
        if (sequence < m_dataFileSequence)
            return;
        rememberDataFile(bytes, sequence);
        // The model was taken back to older bytes after these were made; the file holds these.
        if (generation != m_modelGeneration)
            installDataFileModel();
        return;
    }
    // The model holds changes the file does not. When it was installed anew after these
    // bytes were made, it holds the file's version already (and any later change is on its
    // way to the file with its own write).
    if (generation == m_modelGeneration)
        installDataFileModel();
}

void NWData::installDataFileModel()
{
    QByteArray bytes;
    if (m_dataFileBytes)
        bytes = *m_dataFileBytes;
    else if (const platform::Expected<platform::FileContents> contents
        = platform::readRegularFile(dataFilePath(), m_maxFileSize))
        bytes = contents->bytes;
    platform::Expected<ReadDocument> result = readLeavingOutBroken(bytes);
    installModel(result ? result->read.model : MVX_Model::makeEmpty());
    ++m_modelGeneration;
    postDataReFetched();
}

void NWData::waitForPendingWrites()
{
    m_writer->waitForPendingWrites();
}

platform::MaybeError NWData::backupToFilePath(const QString& path)
{
    if (!m_appData)
        return platform::Strings::tr("There is no data to save yet.");
    platform::Expected<QByteArray> bytes = ModelJSONWriter::toJSON(*m_appData);
    if (!bytes)
        return bytes.error();
    // A backup is read back by a restore, under the same limit.
    if (platform::MaybeError tooLarge = fitsReadLimit(*bytes))
        return tooLarge;
    return m_writer->writeAndWait(path, std::move(*bytes));
}

platform::MaybeError NWData::restoreFromFilePath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return platform::localized(unableToOpenFileMessage);
    platform::Expected<ModelReadResult> result = ImportModel::readFile(path, m_maxFileSize);
    if (!result)
        return result.error();
    if (result->hasUnreadableParts())
        return platform::Strings::tr("The file cannot be restored: %1.").arg(result->unreadableSummary());
    if (const ModelRules::Report broken = ModelRules::check(*result->model); !broken.isEmpty())
        return platform::Strings::tr("The file cannot be restored: %1.").arg(broken.summary());

    const std::shared_ptr<MVX_Model> restored = result->model;
    // Rates from the restored model alone, not those the previous model left behind.
    if (platform::MaybeError error = replaceModel(beforeRestoreKind, [&] { installModel(restored); }))
        return error;
    storeGoalDefault();
    postDataReFetched();
    return std::nullopt;
}

platform::MaybeError NWData::deleteAllRecords()
{
    if (platform::MaybeError error = replaceModel(beforeDeleteAllKind, [this] {
            if (!m_appData)
                m_appData = MVX_Model::makeEmpty();
            m_appData->setNwLogArray(MVX_NWLogList());
            m_chartNwLogArray.clear();
            m_appData->setAssetscat(MVX_CategoryList());
            m_appData->setLiabilitycat(MVX_CategoryList());
            m_appData->setTags(MVX_TagsList());
        }))
        return error;
    postDataReFetched();
    return std::nullopt;
}

QStringList NWData::keptCopies(const QString& kind)
{
    return platform::keptCopies(dataFilePath(), kind);
}

platform::MaybeError NWData::replaceModel(const QString& copyKind, const std::function<void()>& install)
{
    // Everything `install` may change, so that a refused or failed save leaves the store as
    // it was.
    struct Lists {
        std::optional<MVX_NWLogList> records;
        std::optional<MVX_CategoryList> assets;
        std::optional<MVX_CategoryList> liabilities;
        std::optional<MVX_TagsList> tags;
    };
    const std::shared_ptr<MVX_Model> previousModel = m_appData;
    const Lists previousLists = m_appData ? Lists { m_appData->nwLogArray(), m_appData->assetscat(),
        m_appData->liabilitycat(), m_appData->tags() }
                                          : Lists {};
    const MVX_NWLogList previousChart = m_chartNwLogArray;
    const QString previousCode = m_localCurrencyCode;
    const std::shared_ptr<MVX_Currency> previousCurrency = m_localCurrency;
    const MVX_ExchangeRateTable previousRates = m_exchangeRates;
    const bool previousForeign = supportsForeignCurrencies();
    const bool previousUpToDate = exchangeRateIsUpToDate();
    const std::optional<QByteArray> previousFileBytes = m_dataFileBytes;
    const quint64 previousFileSequence = m_dataFileSequence;
    const quint64 previousGeneration = m_modelGeneration;

    install();
    // What cannot be written is refused before a copy is kept: the kept copies stay as they
    // were, too.
    platform::Expected<QByteArray> bytes = serialise();
    platform::MaybeError error = bytes ? fitsReadLimit(*bytes) : bytes.errorIfAny();
    if (!error) {
        const platform::Expected<QString> copy
            = m_writer->keepCopyAndWait(dataFilePath(), copyKind, keptCopiesPerKind);
        if (!copy)
            error = platform::Strings::tr(
                "A copy of the data file could not be kept (%1), so nothing was changed.")
                        .arg(copy.error());
    }
    if (!error)
        error = writeDataFile(std::move(*bytes));
    if (!error) {
        // Writes queued before the replacement end as writes of a model that is gone.
        ++m_modelGeneration;
        return std::nullopt;
    }
    m_dataFileBytes = previousFileBytes;
    m_dataFileSequence = previousFileSequence;
    m_modelGeneration = previousGeneration;
    m_appData = previousModel;
    if (m_appData) {
        m_appData->setNwLogArray(previousLists.records);
        m_appData->setAssetscat(previousLists.assets);
        m_appData->setLiabilitycat(previousLists.liabilities);
        m_appData->setTags(previousLists.tags);
    }
    m_chartNwLogArray = previousChart;
    m_localCurrencyCode = previousCode;
    m_localCurrency = previousCurrency;
    m_exchangeRates = previousRates;
    setSupportsForeignCurrencies(previousForeign);
    setExchangeRateIsUpToDate(previousUpToDate);
    return error;
}

void NWData::sortNWArray(const MVX_NWLogList& records)
{
    MVX_NWLogList newestFirst = records;
    std::stable_sort(newestFirst.begin(), newestFirst.end(),
        [](const auto& a, const auto& b) { return monthKey(a) > monthKey(b); });
    MVX_NWLogList oldestFirst = records;
    std::stable_sort(oldestFirst.begin(), oldestFirst.end(),
        [](const auto& a, const auto& b) { return monthKey(a) < monthKey(b); });
    if (m_appData)
        m_appData->setNwLogArray(std::move(newestFirst));
    m_chartNwLogArray = std::move(oldestFirst);
}
