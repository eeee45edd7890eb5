#pragma once

#include "model/data/MVX_Model.h"
#include "model/settings/Preferences.h"
#include "model/values/EntryCategoryValue.h"
#include "platform/Expected.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

class NWData;

/// The two value tables of the record editor.
enum class EntrySide { Assets = 0, Liabilities = 1 };

/// What the record editor knows and does without its widgets: the shown categories and their
/// rows (prefilled from the reference record or read from the edited record), value entry,
/// the totals, the period lists and the writing of the rows into a record of the store.
/// Rows belong to categories by ID and by position: row i of a side is category i of that
/// side. Main thread only; reads the store at each call.
class NWEntryLogic {
public:
    static constexpr const char* periodTakenMessage
        = QT_TRANSLATE_NOOP("mervanemac", "ERROR: A net worth record for this period already exists.");
    static constexpr const char* notANumberMessage = QT_TRANSLATE_NOOP("mervanemac", "Not a number: kept %1");
    static constexpr const char* tooLargeMessage = QT_TRANSLATE_NOOP("mervanemac", "Too large: kept %1");
    static constexpr const char* modelReplacedMessage = QT_TRANSLATE_NOOP(
        "mervanemac", "The data were replaced while this editor was open. Close it and open it again.");
    static constexpr const char* recordGoneMessage = QT_TRANSLATE_NOOP(
        "mervanemac", "This record is no longer in the data. Close the editor and open it again.");
    static constexpr int yearsBefore = 40;
    static constexpr int yearsListed = 80;

    /// `today` decides the year list and the period of a new record.
    NWEntryLogic(NWData& store, QDate today);

    /// Opens on `record` (edit) or, without one, for a new record prefilled from
    /// `previousEntry` (none: every category shown, all rows 0). Builds the shown categories,
    /// the rows, the carried-over values, the totals and the year list.
    void open(std::shared_ptr<MVX_NWLog> record, std::shared_ptr<MVX_NWLog> previousEntry);

    bool isEditing() const { return bool(m_nwLogRecord); }
    const std::shared_ptr<MVX_NWLog>& nwLogRecord() const { return m_nwLogRecord; }
    const std::shared_ptr<MVX_NWLog>& previousEntry() const { return m_previousEntry; }

    /// The shown categories of a side, in display order (the store's own objects). A value
    /// that names no side has none, here and below.
    const MVX_CategoryList& categories(EntrySide side) const
    {
        static const MVX_CategoryList none;
        return isSide(side) ? m_categories[index(side)] : none;
    }
    const QList<EntryCategoryValue>& records(EntrySide side) const
    {
        static const QList<EntryCategoryValue> none;
        return isSide(side) ? m_records[index(side)] : none;
    }
    /// The values of the side's categories that are not shown, kept for the saved record.
    const MVX_CategoryLogList& carriedOver(EntrySide side) const
    {
        static const MVX_CategoryLogList none;
        return isSide(side) ? m_carried[index(side)] : none;
    }
    /// Whether `row` is a row of `side`.
    bool hasRow(EntrySide side, int row) const;

    /// Sums of the rows and the carried-over values: what a save writes.
    double totalAssets() const { return m_totalAssets; }
    double totalLiabilities() const { return m_totalLiabilities; }
    double totalNW() const { return m_totalAssets - m_totalLiabilities; }

    /// Whether a category with this value in the reference record is shown when hidden.
    static bool isShownWhenHidden(std::optional<double> referenceValue);
    /// Whether the row is entered and shown in its own currency.
    bool isForeignRow(const EntryCategoryValue& row) const;

    /// Takes `text` as row `row`'s value (in the row's own currency for a foreign row).
    /// Refuses text that is not one finite number, and an amount (or its value in the base
    /// currency) beyond ModelRules::largestAmount: the row keeps its value and the error
    /// says so; refuses a row that is not there. Returns the row as it now is.
    platform::Expected<EntryCategoryValue> enterValue(EntrySide side, int row, const QString& text);
    /// Gives a foreign row without a rate the store's current rate; returns the row (an empty
    /// one for a row that is not there).
    const EntryCategoryValue& ensureRate(EntrySide side, int row);

    /// The text of a row's value field and of its rate field.
    QString valueText(const EntryCategoryValue& row) const;
    QString rateText(const EntryCategoryValue& row) const;

    int maxDecimalPlaces() const { return m_maxDecimalPlaces; }
    void setMaxDecimalPlaces(int digits) { m_maxDecimalPlaces = digits; }

    /// The year list: 80 years from today's year - 40, plus the edited record's year in
    /// order when it lies outside them.
    const QList<int>& yearArray() const { return m_yearArray; }
    /// The period the lists select at opening: the edited record's, else today's.
    int initialYear() const { return m_initialYear; }
    int initialMonth() const { return m_initialMonth; }
    /// The current locale's short month names, January first.
    static QStringList monthStrings();

    /// Refuses a save that cannot be made (the period is another record's, the store's model
    /// was replaced, the edited record is gone); otherwise writes the rows into the record
    /// (a new one is inserted into the store).
    platform::MaybeError prepareSave(int year, int month, const QString& note);
    /// After a failed write, which put the store's model back to the data file's: the editor
    /// keeps its rows and its note and works on the new model, on the record the file holds
    /// for the period the record had before the save (none: a new record again) and on the
    /// same categories (by ID; a row whose category the file lacks goes).
    void rebindToStore();

    // Texts of numbers.
    static double roundUp(double value, int scale);
    static QString toCurrencyString(double amount, const QString& format = {});
    static QString toForeignCurrencyString(double amount, const QString& format, const QString& currency);
    static QString toDecimalExchRateString(double rate, int decimals);

private:
    static constexpr std::size_t index(EntrySide side) { return static_cast<std::size_t>(side); }
    static constexpr bool isSide(EntrySide side) { return index(side) < 2; }
    MVX_CategoryList shownCategories(EntrySide side) const;
    void buildRows(EntrySide side);
    void buildYearArray();
    void updateTotals();
    void fillRecord(MVX_NWLog& record, int year, int month, const QString& note) const;
    std::shared_ptr<MVX_NWLog> storeRecord(std::optional<std::pair<int, int>> period) const;

    NWData& m_store;
    QDate m_today;
    std::weak_ptr<MVX_Model> m_openedModel;
    std::shared_ptr<MVX_NWLog> m_nwLogRecord;
    std::shared_ptr<MVX_NWLog> m_previousEntry;
    std::array<MVX_CategoryList, 2> m_categories;
    std::array<QList<EntryCategoryValue>, 2> m_records;
    std::array<MVX_CategoryLogList, 2> m_carried;
    double m_totalAssets = 0;
    double m_totalLiabilities = 0;
    int m_maxDecimalPlaces = Preferences::defaultExchangeRateDecimals;
    QList<int> m_yearArray;
    int m_initialYear = 0;
    int m_initialMonth = 1;
    // The year and month of the record as the data file holds it; none for a new record.
    std::optional<std::pair<int, int>> m_filedPeriod;
};
