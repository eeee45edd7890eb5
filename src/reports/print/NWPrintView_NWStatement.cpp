#include "reports/print/NWPrintView_NWStatement.h"

#include "model/store/NWData.h"

#include <QPrinter>

NWPrintView_NWStatement::NWPrintView_NWStatement(QPrinter& printer, const NWData& store,
    const MVX_NWLog* record, const MVX_NWLog* prevMonthRecord, const MVX_NWLog* prevYearRecord)
    : m_store(store), m_currentLog(record), m_pastMonthLog(prevMonthRecord), m_pastYearLog(prevYearRecord)
{
    printer.setPageOrientation(QPageLayout::Portrait);
}

qint64 NWPrintView_NWStatement::totalPages() const
{
    return m_layout ? m_layout->pageCount() : 0;
}

bool NWPrintView_NWStatement::print(QPrinter&)
{
    return false;
}

const MVX_NWLog* NWPrintView_NWStatement::getPreviousLog(const NWData&, const MVX_NWLog*, int)
{
    return nullptr;
}

void NWPrintView_NWStatement::layOut(const QSizeF&)
{
}
