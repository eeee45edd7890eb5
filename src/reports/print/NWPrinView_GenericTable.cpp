#include "reports/print/NWPrinView_GenericTable.h"

#include <QPrinter>

#include <utility>

NWPrinView_GenericTable::NWPrinView_GenericTable(QPrinter& printer, const NWData&, QString mainTitle,
    QString subTitle, QString period, QColor titleColor, QColor subTitleColor, QList<NWReportRecord> records)
    : m_mainTitle(std::move(mainTitle))
    , m_subTitle(std::move(subTitle))
    , m_period(std::move(period))
    , m_titleColor(titleColor)
    , m_subTitleColor(subTitleColor)
    , m_records(std::move(records))
{
    printer.setPageOrientation(QPageLayout::Portrait);
}

qint64 NWPrinView_GenericTable::totalPages() const
{
    return m_layout ? m_layout->pageCount() : 1;
}

bool NWPrinView_GenericTable::print(QPrinter&)
{
    return false;
}

void NWPrinView_GenericTable::layOut(const QSizeF&)
{
}
