#pragma once

#include "reports/print/PrintLayout.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>

class MVX_NWLog;
class NWData;
class QPrinter;

/// The net-worth statement of one monthly record, printed page by page: a title naming the
/// month, an optional name line, the record's totals, the changes against the records one and
/// twelve positions older, and its asset and liability categories with values and shares.
///
/// The records are the store's; they must outlive the view. Main thread only.
class NWPrintView_NWStatement {
public:
    /// `record`, `prevMonthRecord`, `prevYearRecord`: what the shell passes (the newest record and
    /// the records 1 and 12 positions after it; each may be null). Reads "print_nameField",
    /// "print_includeName", "print_selectedMonth", "print_selectedYear" from the user defaults;
    /// when the chosen month and year name a record, that record and the ones 1 and 12 positions
    /// after it are printed. When a month is chosen and no record has it, or there is no record
    /// at all, `currentLog()` is null and `print` draws nothing and returns false: the shell
    /// then prints nothing and says so (never a substitute month).
    /// Sets `printer` to portrait.
    NWPrintView_NWStatement(QPrinter& printer, const NWData& store, const MVX_NWLog* record,
        const MVX_NWLog* prevMonthRecord, const MVX_NWLog* prevYearRecord);

    const MVX_NWLog* currentLog() const { return m_currentLog; }
    /// The month and year that were asked for (for the shell's message when there is no record).
    std::optional<std::pair<int, int>> chosenMonthYear() const { return m_chosenMonthYear; } // (month, year)
    /// The number of pages `print` prints; 0 when there is nothing to print.
    qint64 totalPages() const;
    /// Lays out once, then paints every page on `printer` (its margins and page size as set by
    /// the shell). False when nothing was printed (no record, or the printer could not start).
    bool print(QPrinter& printer);

    /// The record `distance` positions after `record` (found by identity) in the store's records,
    /// newest first; null when `record` is not there or the position lies past the end.
    static const MVX_NWLog* getPreviousLog(const NWData& store, const MVX_NWLog* record, int distance);

private:
    void layOut(const QSizeF& pageSize);

    const NWData& m_store;
    const MVX_NWLog* m_currentLog = nullptr;
    const MVX_NWLog* m_pastMonthLog = nullptr;
    const MVX_NWLog* m_pastYearLog = nullptr;
    std::optional<std::pair<int, int>> m_chosenMonthYear;
    QString m_name;
    std::optional<PrintLayout> m_layout;
};
