#pragma once

#include "reports/print/PrintLayout.h"

#include "model/values/NWReportRecord.h"

#include <QColor>
#include <QList>
#include <QSizeF>
#include <QString>

/// What a table report shows: its texts, their colours and its rows, in print order.
struct TableReportContent {
    QString title;
    QString subtitle;
    QString period;
    QColor titleColor;
    QColor subtitleColor;
    QList<NWReportRecord> records;
};

/// The table's columns: header, left edge and width in points.
struct TableReportColumn {
    QString header;
    qreal x;
    qreal width;
};
QList<TableReportColumn> tableReportColumns();

/// Places the title block, the column headers of every page and one row per record on pages
/// of `pageSize` points. Pure: reads only the content and the fonts.
PrintLayout layOutTableReport(const TableReportContent& content, const QSizeF& pageSize);
