#include "model/store/NWData.h"

#include "model/ModelNotifications.h"
#include "model/data/ImportModel.h"
#include "model/data/ModelJSONWriter.h"
#include "model/store/DataFileWriter.h"
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

void NWData::ensureCategoryTagLists()
{
    for (auto* list : { &m_appData->assetscat(), &m_appData->liabilitycat() }) {
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
    platform::UserDefaults& defaults = platform::UserDefaults::standard();
    defaults.setValue(goalAmountKey, m_appData->ridIrevuGoal().value_or(0.0));
    defaults.synchronize();
}

platform::MaybeError NWData::getApplicationData()
{
    m_writer->waitForPendingWrites();
    const QString path = dataFilePath();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        m_appData = MVX_Model::makeEmpty();
        setExchangeRates();
        exchangeRateUpdateOnBaseCurrencyChange();
        sortNWArray({});
        postDataReFetched();
        return std::nullopt;
    }

    const platform::Expected<ModelReadResult> result = ImportModel::readFile(path);
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
    ensureCategoryTagLists();
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

    struct Snapshot {
        std::shared_ptr<MVX_Model> appData;
        MVX_NWLogList chart;
        std::optional<MVX_NWLogList> records;
        QString localCurrencyCode;
        std::shared_ptr<MVX_Currency> localCurrency;
        MVX_ExchangeRateTable rates;
        bool supportsForeign;
        bool upToDate;
    };
    const Snapshot previous { m_appData, m_chartNwLogArray,
        m_appData ? m_appData->nwLogArray() : std::nullopt, m_localCurrencyCode, m_localCurrency,
        m_exchangeRates, supportsForeignCurrencies(), exchangeRateIsUpToDate() };

    m_appData = result->model;
    // Rates from the restored model alone, not those the previous model left behind.
    setExchangeRates();
    exchangeRateUpdateOnBaseCurrencyChange();
    ensureCategoryTagLists();
    sortNWArray(*m_appData->nwLogArray());
    if (platform::MaybeError error = saveData(false)) {
        m_appData = previous.appData;
        if (m_appData)
            m_appData->setNwLogArray(previous.records);
        m_chartNwLogArray = previous.chart;
        m_localCurrencyCode = previous.localCurrencyCode;
        m_localCurrency = previous.localCurrency;
        m_exchangeRates = previous.rates;
        setSupportsForeignCurrencies(previous.supportsForeign);
        setExchangeRateIsUpToDate(previous.upToDate);
        return error;
    }
    storeGoalDefault();
    postDataReFetched();
    return std::nullopt;
}

platform::MaybeError NWData::deleteAllRecords()
{
    if (!m_appData)
        m_appData = MVX_Model::makeEmpty();
    m_appData->setNwLogArray(MVX_NWLogList());
    m_chartNwLogArray.clear();
    m_appData->setAssetscat(MVX_CategoryList());
    m_appData->setLiabilitycat(MVX_CategoryList());
    m_appData->setTags(MVX_TagsList());
    platform::MaybeError error = saveData(false);
    postDataReFetched();
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
