#include "reports/print/NWPrintView_NWStatement.h"

#include "model/data/MVX_Model.h"
#include "model/data/MVX_NWLog.h"
#include "model/store/NWData.h"
#include "platform/Clock.h"
#include "reports/print/PagePainter.h"
#include "reports/print/StatementLayout.h"
#include "reports/settings/ReportChoiceSettings.h"

#include <QPrinter>

namespace {

std::optional<std::pair<int, int>> storedMonthYear()
{
    const auto chosen = ReportChoiceSettings::selectedMonth();
    return chosen ? std::make_optional(std::pair { chosen->month, chosen->year }) : std::nullopt;
}

QString statementName()
{
    return ReportChoiceSettings::includeName() ? ReportChoiceSettings::nameField() : QString();
}

} // namespace

NWPrintView_NWStatement::NWPrintView_NWStatement(QPrinter& printer, const NWData& store,
    const MVX_NWLog* record, const MVX_NWLog* prevMonthRecord, const MVX_NWLog* prevYearRecord)
    : m_store(store)
    , m_currentLog(record)
    , m_pastMonthLog(prevMonthRecord)
    , m_pastYearLog(prevYearRecord)
    , m_chosenMonthYear(storedMonthYear())
    , m_name(statementName())
{
    if (m_chosenMonthYear) {
        // The month asked for, or nothing: printing another month under the chosen one's
        // heading would pass it off as the statement that was asked for.
        m_currentLog = nullptr;
        m_pastMonthLog = nullptr;
        m_pastYearLog = nullptr;
        const auto& model = store.appData();
        if (model && model->nwLogArray()) {
            for (const auto& log : *model->nwLogArray()) {
                if (log && log->month() == m_chosenMonthYear->first
                    && log->year() == m_chosenMonthYear->second) {
                    m_currentLog = log.get();
                    break;
                }
            }
        }
        if (m_currentLog) {
            m_pastMonthLog = getPreviousLog(store, m_currentLog, 1);
            m_pastYearLog = getPreviousLog(store, m_currentLog, 12);
        }
    }
    printer.setPageOrientation(QPageLayout::Portrait);
    layOut(PagePainter::pageSize(printer));
}

qint64 NWPrintView_NWStatement::totalPages() const
{
    return m_layout ? m_layout->pageCount() : 0;
}

bool NWPrintView_NWStatement::print(QPrinter& printer)
{
    if (!m_currentLog)
        return false;
    // The print panel may have changed the paper since the view was made.
    const QSizeF pageSize = PagePainter::pageSize(printer);
    if (!m_layout || m_layout->pageSize() != pageSize)
        layOut(pageSize);
    return PagePainter::paint(printer, *m_layout, platform::Clock::now());
}

const MVX_NWLog* NWPrintView_NWStatement::getPreviousLog(
    const NWData& store, const MVX_NWLog* record, int distance)
{
    const auto& model = store.appData();
    if (!record || !model || !model->nwLogArray())
        return nullptr;
    const MVX_NWLogList& logs = *model->nwLogArray();
    for (qsizetype i = 0; i < logs.size(); ++i) {
        if (logs.at(i).get() != record)
            continue;
        const qsizetype wanted = i + distance;
        return wanted >= 0 && wanted < logs.size() ? logs.at(wanted).get() : nullptr;
    }
    return nullptr;
}

void NWPrintView_NWStatement::layOut(const QSizeF& pageSize)
{
    if (!m_currentLog) {
        m_layout.reset();
        return;
    }
    StatementContent content;
    content.record = m_currentLog;
    content.pastMonthRecord = m_pastMonthLog;
    content.pastYearRecord = m_pastYearLog;
    content.name = m_name;
    content.assetName = [this](const QString& ID) { return m_store.getAssetCategoryNameFromCategoryId(ID); };
    content.liabilityName
        = [this](const QString& ID) { return m_store.getLiabilityCategoryNameFromCategoryId(ID); };
    m_layout = layOutStatement(content, pageSize);
}
