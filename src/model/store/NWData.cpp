#include "model/store/NWData.h"

#include "model/ModelNotifications.h"
#include "model/data/ImportModel.h"
#include "model/data/ModelJSONWriter.h"
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

void NWData::storeGoalDefault()
{
    // The charts read the goal from the settings.
    platform::UserDefaults::standard().setValueAndSynchronize(
        goalAmountKey, m_appData->ridIrevuGoal().value_or(0.0));
}

platform::MaybeError NWData::getApplicationData()
{
    m_writer->waitForPendingWrites();
    const QString path = dataFilePath();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        guardDataFile(std::nullopt);
        m_appData = MVX_Model::makeEmpty();
        setExchangeRates();
        exchangeRateUpdateOnBaseCurrencyChange();
        sortNWArray({});
        postDataReFetched();
        return std::nullopt;
    }

    const platform::Expected<platform::FileContents> contents = platform::readRegularFile(path);
    platform::Expected<ModelReadResult> result = contents
        ? ImportModel::read(contents->bytes)
        : platform::Expected<ModelReadResult>(
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
        m_appData = MVX_Model::makeEmpty();
        m_chartNwLogArray.clear();
        setExchangeRates();
        m_writer->preserveBeforeNextWrite(path);
        return result.error();
    }
    m_appData = result->model;
    setExchangeRates();
    exchangeRateUpdateOnBaseCurrencyChange();
    ensureModelLists(*m_appData);
    sortNWArray(*m_appData->nwLogArray());
    storeGoalDefault();
    platform::MaybeError note;
    if (result->hasUnreadableParts()) {
        m_writer->preserveBeforeNextWrite(path);
        note = result->unreadableSummary();
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

platform::MaybeError NWData::saveData(bool /*flag*/)
{
    platform::Expected<QByteArray> bytes = serialise();
    if (!bytes)
        return bytes.error();
    return m_writer->writeAndWait(dataFilePath(), std::move(*bytes));
}

void NWData::saveDataAsync(QObject* context, std::function<void(platform::MaybeError)> completion)
{
    QPointer<QObject> guard(context ? context : this);
    auto deliver = [this, guard, completion = std::move(completion)](platform::MaybeError result) {
        // Always through the store, which outlives its pending writes; the caller's
        // context may be gone by the time the write finishes.
        platform::runLater(this, [guard, completion, result] {
            if (guard && completion)
                completion(result);
        });
    };
    platform::Expected<QByteArray> bytes = serialise();
    if (!bytes) {
        deliver(bytes.error());
        return;
    }
    m_writer->write(dataFilePath(), std::move(*bytes), std::move(deliver));
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
    return m_writer->writeAndWait(path, std::move(*bytes));
}

platform::MaybeError NWData::restoreFromFilePath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return platform::localized(unableToOpenFileMessage);
    platform::Expected<ModelReadResult> result = ImportModel::readFile(path);
    if (!result)
        return result.error();
    if (result->hasUnreadableParts())
        return platform::Strings::tr("The file cannot be restored: %1.").arg(result->unreadableSummary());

    const std::shared_ptr<MVX_Model> restored = result->model;
    if (platform::MaybeError error = replaceModel(beforeRestoreKind, [&] {
            m_appData = restored;
            // Rates from the restored model alone, not those the previous model left behind.
            setExchangeRates();
            exchangeRateUpdateOnBaseCurrencyChange();
            ensureModelLists(*m_appData);
            sortNWArray(*m_appData->nwLogArray());
        }))
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
    const platform::Expected<QString> copy
        = m_writer->keepCopyAndWait(dataFilePath(), copyKind, keptCopiesPerKind);
    if (!copy)
        return platform::Strings::tr(
            "A copy of the data file could not be kept (%1), so nothing was changed.")
            .arg(copy.error());

    // Everything `install` may change, so that a failed save leaves the store as it was.
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

    install();
    platform::MaybeError error = saveData(false);
    if (!error)
        return std::nullopt;
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
