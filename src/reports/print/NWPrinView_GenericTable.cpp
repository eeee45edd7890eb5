#include "reports/print/NWPrinView_GenericTable.h"

#include "platform/Clock.h"
#include "reports/print/PagePainter.h"
#include "reports/print/TableReportLayout.h"

#include <QPrinter>

#include <utility>

NWPrinView_GenericTable::NWPrinView_GenericTable(QPrinter& printer, const NWData& /*store*/,
    QString mainTitle, QString subTitle, QString period, QColor titleColor, QColor subTitleColor,
    QList<NWReportRecord> records)
    : m_content { std::move(mainTitle), std::move(subTitle), std::move(period), titleColor, subTitleColor,
        std::move(records) }
{
    printer.setPageOrientation(QPageLayout::Portrait);
    layOut(PagePainter::pageSize(printer));
}

qint64 NWPrinView_GenericTable::totalPages() const
{
    return m_layout ? m_layout->pageCount() : 1;
}

bool NWPrinView_GenericTable::print(QPrinter& printer)
{
    // The print panel may have changed the paper since the view was made.
    const QSizeF pageSize = PagePainter::pageSize(printer);
    if (!m_layout || m_layout->pageSize() != pageSize)
        layOut(pageSize);
    return PagePainter::paint(printer, *m_layout, platform::Clock::now());
}

void NWPrinView_GenericTable::layOut(const QSizeF& pageSize)
{
    m_layout = layOutTableReport(m_content, pageSize);
}
