#pragma once

#include "reports/print/PrintLayout.h"
#include "reports/print/TableReportLayout.h"

#include "model/values/NWReportRecord.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

class NWData;
class QPrinter;

/// A table report (assets, liability or tags report), printed page by page: a title with the
/// report period on its line, a subtitle, and one row per report record (log date, amount,
/// change, percent change) in the order given, with the column headers on every page.
/// Main thread only.
class NWPrinView_GenericTable {
public:
    /// `records` are printed unchanged, in the order given. Amounts are formatted in the
    /// store's base currency. Sets `printer` to portrait.
    NWPrinView_GenericTable(QPrinter& printer, const NWData& store, QString mainTitle, QString subTitle,
        QString period, QColor titleColor, QColor subTitleColor, QList<NWReportRecord> records);

    /// The number of pages `print` prints (at least 1).
    qint64 totalPages() const;
    /// Lays out once, then paints every page on `printer` (its margins and page size as set by
    /// the shell). False when the printer could not start.
    bool print(QPrinter& printer);

private:
    void layOut(const QSizeF& pageSize);

    TableReportContent m_content;
    std::optional<PrintLayout> m_layout;
};
