#pragma once

#include "model/csv/CSVImport.h"
#include "model/data/MVX_Currency.h"
#include "model/data/MVX_ExchangeRate.h"
#include "model/data/MVX_Model.h"
#include "model/values/NWChartLog.h"
#include "model/values/NWReportRecord.h"
#include "platform/Expected.h"
#include "platform/FileIO.h"

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class DataFileWriter;

using MVX_CurrencyTable = QMap<QString, std::shared_ptr<MVX_Currency>>;
using MVX_ExchangeRateTable = QMap<QString, std::shared_ptr<MVX_ExchangeRate>>;

/// The process-wide store: it owns the live model and the tables every screen shares
/// (currencies, exchange rates, tag colours, the tag filter and the records in chart order).
/// Its record, category and report queries, category and tag edits and CSV form forward to
/// the functions over the model in `queries`, `edits` and `csv`; what needs the store's
/// state (the tag filter, currencies, installing a model, saving) is its own.
///
/// Everything runs on the main thread. Saving sorts and serialises there; one serial
/// writer thread writes the bytes atomically; failures come back as error texts
/// (`platform::MaybeError`, none is success). An unreadable data file is never overwritten without
/// a copy kept next to it first.
class NWData : public QObject {
    Q_OBJECT

public:
    // Constants are inline so that other files' static initialisers find them made.

    /// "mervane.json", in the home folder.
    static inline const QString dataFileName = QStringLiteral("mervane.json");
    /// User default holding the tag filter (a list of tag ID strings).
    static inline const QString filterIDArrayKey = QStringLiteral("NWFilterIDArrayKey");
    /// User default holding the tags report's choice of tags (a list of tag ID strings).
    static inline const QString reportTagIDsKey = QStringLiteral("ReportTagIDsKey");
    /// Restore's answer when nothing exists at the chosen path.
    static constexpr const char* unableToOpenFileMessage
        = QT_TRANSLATE_NOOP("mervanemac", "Unable to open selected file!");

    /// The one store, made on first use and never released.
    static NWData* shared();

    /// A store of its own (tests); the application uses `shared()`.
    explicit NWData(QObject* parent = nullptr);
    /// Waits for pending writes.
    ~NWData() override;

    /// "$HOME/mervane.json", resolved at each call.
    static QString dataFilePath();

    // Fields. Lists and maps returned by non-const reference are edited in place.
    const std::shared_ptr<MVX_Model>& appData() const { return m_appData; }
    /// Replaces the model as it is (nothing sorted, nothing saved). What the data file holds
    /// is no longer known from memory: a failed save then re-reads the file.
    void setAppData(std::shared_ptr<MVX_Model> model);
    /// 1900-01-01, from which the records' day numbers count.
    QDate startDate() const { return m_startDate; }
    void setStartDate(QDate date) { m_startDate = date; }
    const QString& localCurrencyCode() const { return m_localCurrencyCode; }
    void setLocalCurrencyCode(const QString& code) { m_localCurrencyCode = code; }
    bool supportsForeignCurrencies() const { return m_supportsForeignCurrencies.load(); }
    void setSupportsForeignCurrencies(bool value) { m_supportsForeignCurrencies.store(value); }
    bool exchangeRateIsUpToDate() const { return m_exchangeRateIsUpToDate.load(); }
    void setExchangeRateIsUpToDate(bool value) { m_exchangeRateIsUpToDate.store(value); }
    /// The records of `appData()`, oldest first; rebuilt by every sort.
    const MVX_NWLogList& chartNwLogArray() const { return m_chartNwLogArray; }
    MVX_NWLogList& chartNwLogArray() { return m_chartNwLogArray; }
    void setChartNwLogArray(MVX_NWLogList list) { m_chartNwLogArray = std::move(list); }
    /// 24 colours: "BLUE", "BLUE_LINE", "BLUE_TEXT", ... for the eight tag colour names
    /// (fill, outline, text).
    const QHash<QString, QColor>& tagColors() const { return m_tagColors; }
    QHash<QString, QColor>& tagColors() { return m_tagColors; }
    void setTagColors(QHash<QString, QColor> colors) { m_tagColors = std::move(colors); }
    /// The 31-row currency table by ISO code.
    const MVX_CurrencyTable& supportedCurrencies() const { return m_supportedCurrencies; }
    MVX_CurrencyTable& supportedCurrencies() { return m_supportedCurrencies; }
    void setSupportedCurrencies(MVX_CurrencyTable table) { m_supportedCurrencies = std::move(table); }
    /// The history chart's tag filter.
    const QStringList& selectedTagIDs() const { return m_selectedTagIDs; }
    QStringList& selectedTagIDs() { return m_selectedTagIDs; }
    void setSelectedTagIDs(QStringList ids) { m_selectedTagIDs = std::move(ids); }
    /// Puts the tag into the tag filter or takes it out (once at most), and writes the filter
    /// to "NWFilterIDArrayKey" at once. Posts nothing.
    void setTagInFilter(const QString& tagID, bool chosen);
    /// Local-currency units per one unit of every other table currency.
    const MVX_ExchangeRateTable& exchangeRates() const { return m_exchangeRates; }
    MVX_ExchangeRateTable& exchangeRates() { return m_exchangeRates; }
    void setExchangeRates(MVX_ExchangeRateTable rates) { m_exchangeRates = std::move(rates); }
    /// The table row of the local currency, or null.
    const std::shared_ptr<MVX_Currency>& localCurrency() const { return m_localCurrency; }
    void setLocalCurrency(std::shared_ptr<MVX_Currency> currency) { m_localCurrency = std::move(currency); }

    // Data file, backup and restore (NWData.cpp).

    /// Loads the data file into `appData()`. Posts "dataReFetched" unless reading failed.
    /// Returns the reader's error text (then `appData()` is a new empty model and the
    /// unreadable file is copied aside before the first save replaces it), a note on
    /// parts that could not be read or that break `ModelRules` (those are left out, the rest
    /// is loaded and the file is kept the same way), or none. Only a regular file is read. The version read
    /// is remembered: a save that finds another program's version in its place keeps that as a copy of kind
    /// "conflict" and posts `notifications::dataFileConflict`. What a save killed midway left
    /// beside the data file is settled first (`platform::settleLeftoverWrites`, kind "conflict").
    platform::MaybeError getApplicationData();
    /// Sorts the records and writes the model to the data file; waits for the write.
    /// `flag` has no meaning. Returns none when the file was written, else an error text
    /// (the model is left as it is: the caller takes its change back). A data file larger
    /// than `maxDataFileSize()` is refused, since it could not be read again.
    platform::MaybeError saveData(bool flag = false);
    /// Sorts and serialises now, writes on the writer thread, and calls `completion`
    /// with the error text or none on the thread of `context` (not at all if `context`
    /// is gone by then).
    ///
    /// A failed write, and a data file refused for passing `maxDataFileSize()`, leave the
    /// model as the data file holds it, whichever screen saved:
    /// before `completion` runs, the store installs the model again from the file's bytes
    /// (as a load does: rates, lists, order) and posts "dataReFetched", so that every
    /// screen, and every object it held, is the file's again. An editor that stays open
    /// finds its objects again in the new model. When a later write, queued before the
    /// failed one was taken back, has reached the file, its end installs that version.
    void saveDataAsync(QObject* context, std::function<void(platform::MaybeError)> completion);
    /// Blocks until every queued write has finished (quitting calls it).
    void waitForPendingWrites();
    /// Writes the model to `path`; returns an error text when that failed. A file larger
    /// than `maxDataFileSize()` is refused, since it could not be restored.
    platform::MaybeError backupToFilePath(const QString& path);
    /// Replaces the model by the file at `path`, saves it as the data file and posts
    /// "dataReFetched". The data file is kept as a copy of kind "before-restore" first.
    /// A file with parts that cannot be read, a model that breaks `ModelRules`, and one
    /// whose data file would pass `maxDataFileSize()` are refused before anything is
    /// replaced or copied. On failure the previous model and currency state stay, nothing
    /// is posted, and the error text is returned.
    platform::MaybeError restoreFromFilePath(const QString& path);
    /// Empties the records, the chart series, the categories and the tags, saves and
    /// posts "dataReFetched"; the data file is kept as a copy of kind "before-delete-all"
    /// first. On failure the model stays as it was and the error text is returned.
    platform::MaybeError deleteAllRecords();

    // Copies of the data file kept before each whole-model change, as
    // "mervane.json.<kind>-<yyyyMMdd-HHmmss>" next to it; the newest ten of a kind stay.
    static inline const QString beforeImportKind = QStringLiteral("before-import");
    static inline const QString beforeRestoreKind = QStringLiteral("before-restore");
    static inline const QString beforeDeleteAllKind = QStringLiteral("before-delete-all");
    static constexpr int keptCopiesPerKind = 10;
    /// The kept copies of the data file of one kind, oldest first.
    static QStringList keptCopies(const QString& kind);

    /// `appData()`'s records become newest first, `chartNwLogArray()` the same objects
    /// oldest first.
    void sortNWArray(const MVX_NWLogList& records);

    // Currencies and exchange rates (NWDataCurrencies.cpp).

    /// Local currency from the base currency, else the locale's currency; then the rates.
    void setExchangeRates();
    /// Local currency and rates from the model's base currency; nothing without one.
    void exchangeRateUpdateOnBaseCurrencyChange();
    /// Rates again after the table's rates per euro changed.
    void recalculateRates();
    /// Local-currency units per one unit of `code`; 1.0 when there is no rate for it.
    double getExchangeRateFor(const QString& code) const;
    /// Stores a feed's rate text (units per euro, "." as decimal separator) for a table
    /// currency. Rates outside `MVX_Currency`'s plausible range per euro, the euro itself
    /// and codes outside the table change nothing. Returns whether the rate was stored.
    bool setExchangeRateFor(const QString& code, const QString& rateText);
    /// The table row of `code`, or null.
    std::shared_ptr<MVX_Currency> currencyFromCode(const QString& code) const;
    /// The locale for amounts in the base currency (the current locale without one).
    QLocale getLocale() const;
    /// The same as an identifier in the form "en_US" ("" is the root locale).
    QString getLocaleIdentifier() const;

    /// The locale identifier that belongs to a currency: the table row's ("en_US" for
    /// "USD", "" for the euro's root locale), else the first available locale using the
    /// currency (looked up once per code), else the code itself.
    QString localeIdentifierForCurrencyCode(const QString& code) const;
    /// `localeIdentifierForCurrencyCode` as a QLocale (the root locale becomes QLocale::c()).
    QLocale localeForCurrencyCode(const QString& code) const;

    // Record and category queries and report rows (NWDataQueries.cpp; see model/queries).
    // Every call reads `appData()` afresh; without a model they answer as an empty one.

    bool haveNWLogWithYear(int year, int month) const;

    /// For each record, newest first, the first of its asset logs with this category ID;
    /// without `returnZeroValues`, logs whose value is absent or within 0.00001 of zero are
    /// left out.
    MVX_CategoryLogList recordsForAssetCategoryLogs(const QString& categoryID, bool returnZeroValues) const;
    MVX_CategoryLogList recordsForLiabilityCategoryLogs(
        const QString& categoryID, bool returnZeroValues) const;

    /// The category's values as chart points (value in `nw`), zero values included.
    /// The plain forms run oldest first, the "Sorted" forms newest first.
    QList<NWChartLog> arrayOfAssetLogsFor(const QString& categoryID) const;
    QList<NWChartLog> arrayOfSortedAssetLogsFor(const QString& categoryID) const;
    QList<NWChartLog> arrayOfLiabilityLogsFor(const QString& categoryID) const;
    QList<NWChartLog> arrayOfSortedLiabilityLogsFor(const QString& categoryID) const;

    /// `queries::arrayOfTaggedCategoryLogs` for `selectedTagIDs()`.
    QList<NWChartLog> arrayOfTaggedCategoryLogs() const;

    /// The ID (or name) of the first category of the list with exactly this name (or ID);
    /// none when no category has it.
    std::optional<QString> getAssetCategoryIdFromCategoryName(const QString& name) const;
    std::optional<QString> getAssetCategoryNameFromCategoryId(const QString& categoryID) const;
    std::optional<QString> getLiabilityCategoryIdFromCategoryName(const QString& name) const;
    std::optional<QString> getLiabilityCategoryNameFromCategoryId(const QString& categoryID) const;

    /// One row per record holding a value of the category, zero values included. Each
    /// row's change is taken against the next older value of the category, even when that
    /// month lies before the period; the oldest value has no change.
    QList<NWReportRecord> getAssetReportRecords(const QString& categoryID,
        const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate) const;
    QList<NWReportRecord> getLiabilityReportRecords(const QString& categoryID,
        const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate) const;
    /// One row per record in the period: the values of tagged asset categories minus those
    /// of tagged liability categories. The oldest row inside the period has no change.
    QList<NWReportRecord> getTaggedRecords(const QStringList& tagIDs,
        const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate) const;

    /// Whether an asset or liability category with this ID carries one of the tags.
    bool isCategoryTagged(const QString& categoryID, const QStringList& selectedTagIDs) const;
    /// "(" + the names of the model's tags whose ID is given, in tag-list order, joined by
    /// ",", + ")".
    QString getTagNames(const QStringList& tagIDs) const;

    // Creating and removing records, categories and tags (NWDataEdits.cpp; see model/edits).
    // Without a model, operations that create return null and removals do nothing.

    /// A new random UUID, 36 characters, upper-case hexadecimal in 8-4-4-4-12 groups.
    static QString GetUUID();

    /// A new empty record appended to `nwLogArray`; null without a model.
    std::shared_ptr<MVX_NWLog> insertNewNWLog();
    /// Takes this very record out of the records and the chart series; false when the
    /// store does not hold it. Does not save.
    bool deleteNWLog(const std::shared_ptr<MVX_NWLog>& record);
    /// Puts a record back in its place among the records and the chart series; nothing when
    /// it is held already or there is no model. Does not save.
    void reinsertNWLog(const std::shared_ptr<MVX_NWLog>& record);
    /// Whether the store's records hold this very record (not merely an equal one).
    bool holdsNWLog(const MVX_NWLog* record) const;

    /// A new tag appended to `tags`. Names and colour names are not checked here.
    std::shared_ptr<MVX_Tags> insertNewTag(
        const QString& name, const QString& desc, const QString& colorName);
    /// A new category appended to its list; every record gains a value 0 for it (records
    /// without a log list of that side get none).
    std::shared_ptr<MVX_Category> insertNewAssetCategory(const QString& name, const QString& desc);
    std::shared_ptr<MVX_Category> insertNewLiabilityCategory(const QString& name, const QString& desc);

    /// Removes the tag's ID from every category and every tag with that ID from `tags`.
    void deleteTagRecord(const MVX_Tags& tag);
    /// `deleteTagRecord`, and the ID leaves the tag filter (`selectedTagIDs` and the user
    /// default "NWFilterIDArrayKey") and the tags report's choice ("ReportTagIDsKey"), so
    /// that nothing keeps choosing a tag that no longer exists. Keys that are absent stay
    /// absent. Does not save the model.
    void deleteTagEverywhere(const MVX_Tags& tag);
    /// Removes every value of the category (by ID) from every record, lowering the record's
    /// `assets` and `nw` by each value removed, then every category with that ID.
    void deleteAssetCategory(const MVX_Category& category);
    /// The same over liabilities: `liabilities` is lowered and `nw` raised by each value.
    void deleteLiabilityCategory(const MVX_Category& category);

    /// Exact, case-sensitive, untrimmed name tests; false without a model.
    bool haveTagWithName(const QString& name) const;
    bool haveAssetCategoryWithName(const QString& name) const;
    bool haveLiabilityCategoryWithName(const QString& name) const;

    // CSV export and import (NWDataCSV.cpp; the layout is described in model/csv).

    /// "mervaneExport.csv", the name the export command suggests.
    static inline const QString csvExportFileName = QStringLiteral("mervaneExport.csv");

    /// Writes the file atomically: a file already at `path` is replaced only by a
    /// complete one. Returns none on success, else why nothing was written.
    platform::MaybeError exportToCSV(const QString& path) const;
    /// The whole text, or why there is none (no model, or a number that is not finite).
    platform::Expected<QByteArray> csvText() const;
    /// The tag IDs as fields joined with ","; empty for none.
    static QString exportTagsAsCSV(const std::optional<QStringList>& tagIDs);
    /// "," + ID for every asset category, then every liability category.
    QString exportCategoryIDs() const;
    /// The record's value fields in the order of `exportCategoryIDs`, without a leading
    /// comma: the first log of each category, "0" where the record has none.
    QString exportCategoryValues(const MVX_NWLog& record) const;
    /// `text` as one field: quoted when it holds a comma, a quote, CR or LF.
    static QString csvField(const QString& text);
    /// The shortest plain decimal text that reads back as `value`; empty when absent.
    static QString csvNumber(std::optional<double> value);

    /// "CSV import failed: %@", with %1 in place of %@.
    static constexpr const char* csvImportFailureMessage
        = QT_TRANSLATE_NOOP("mervanemac", "CSV import failed: %1");
    /// The version an imported model carries.
    static inline const QString importedModelVersion = csv::importedModelVersion;

    /// The model read from the file at `path`, or why it could not be read. Reads only.
    static platform::Expected<std::shared_ptr<MVX_Model>> importCSVFromFilePath(const QString& path);
    /// The same from the file's bytes (UTF-8; a byte-order mark is skipped).
    static platform::Expected<std::shared_ptr<MVX_Model>> modelFromCSVData(const QByteArray& bytes);
    /// The model read from lines of fields, as `CSVParseDelegate` collects them.
    static platform::Expected<std::shared_ptr<MVX_Model>> modelFromLines(const QList<QStringList>& lines);
    /// Makes `model` the store's model and saves it: day numbers recomputed, category tag
    /// lists made present, the currency set-up run, the records sorted, and the data file
    /// kept as a copy of kind "before-import" first. A model that breaks `ModelRules`, or
    /// whose data file would pass `maxDataFileSize()`, is refused before anything is
    /// replaced or copied. Returns none on success; on any failure the store's previous
    /// model and state come back, the data file and its copies are as they were, and the
    /// reason is returned.
    platform::MaybeError installImportedModel(const std::shared_ptr<MVX_Model>& model);

    /// The writer thread of this store; tests give it failing devices.
    DataFileWriter& writer() { return *m_writer; }
    /// The largest data file the store reads and writes (a restored file and a backup
    /// included): `platform::maxReadableFileSize`; tests set a small one.
    qint64 maxDataFileSize() const { return m_maxFileSize; }
    void setMaxDataFileSizeForTesting(qint64 bytes) { m_maxFileSize = bytes; }

    /// The 31 rows in the table's order, with the default rates.
    static QList<std::shared_ptr<MVX_Currency>> makeCurrencyTable();
    /// The 24 tag colours.
    static QHash<QString, QColor> makeTagColors();

private:
    void fillRatesFor(const QString& localCode);
    /// Makes the model's lists present and every category's tag list editable.
    static void ensureModelLists(MVX_Model& model);
    /// Guards the data file against other writers from the version read at load.
    void guardDataFile(std::optional<platform::FileIdentity> loaded);
    /// Keeps a copy of the data file, runs `install` and saves; when the copy or the save
    /// fails, everything `install` may have changed is put back and the reason returned.
    platform::MaybeError replaceModel(const QString& copyKind, const std::function<void()>& install);
    void storeGoalDefault();
    platform::Expected<QByteArray> serialise();
    /// Why `bytes` may not be written: a file the store could not read back.
    platform::MaybeError fitsReadLimit(const QByteArray& bytes) const;
    /// Writes the data file and waits; refuses what `fitsReadLimit` refuses.
    platform::MaybeError writeDataFile(QByteArray bytes);
    /// The load's steps after reading: the model, its rates, its lists, its order.
    void installModel(std::shared_ptr<MVX_Model> model);
    /// `bytes` (from the write or load numbered `sequence`) are what the data file holds.
    void rememberDataFile(std::optional<QByteArray> bytes, quint64 sequence);
    /// An asynchronous write of the data file ended, on the main thread.
    void dataFileWriteEnded(quint64 sequence, quint64 generation, const QByteArray& bytes, bool written);
    /// Installs the model the data file holds and posts "dataReFetched".
    void installDataFileModel();
    QString currentLocaleCurrencyCode() const;
    const MVX_Model& modelOrEmpty() const;

    std::shared_ptr<MVX_Model> m_appData;
    QDate m_startDate;
    QString m_localCurrencyCode;
    std::atomic<bool> m_supportsForeignCurrencies = false;
    std::atomic<bool> m_exchangeRateIsUpToDate = false;
    MVX_NWLogList m_chartNwLogArray;
    QHash<QString, QColor> m_tagColors;
    MVX_CurrencyTable m_supportedCurrencies;
    QStringList m_selectedTagIDs;
    MVX_ExchangeRateTable m_exchangeRates;
    std::shared_ptr<MVX_Currency> m_localCurrency;

    std::unique_ptr<DataFileWriter> m_writer;
    qint64 m_maxFileSize = platform::maxReadableFileSize;

    // What the data file holds, as far as the store knows: the bytes read at load (an empty
    // model's when there was none), replaced by those of each write that reached the file.
    // None: not known from memory (the file is read when needed).
    std::optional<QByteArray> m_dataFileBytes;
    // Every load, write and replacement of the model gets the next number; the remembered
    // bytes are those of the latest one that reached the file.
    quint64 m_writeSequence = 0;
    quint64 m_dataFileSequence = 0;
    // Counts the model's installations from outside the screens' edits (load, restore,
    // import, a failed save taken back): a write serialised before the latest one may
    // hold changes the model no longer has, or lack changes it has.
    quint64 m_modelGeneration = 0;
};
