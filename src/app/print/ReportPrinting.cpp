#include "app/print/ReportPrinting.h"

#include "charts/common/PrintSession.h"
#include "model/data/MVX_Model.h"
#include "model/dates/DateUtilities.h"
#include "model/store/NWData.h"
#include "platform/Dispatch.h"
#include "platform/Strings.h"
#include "reports/choice/ReportChoiceController.h"
#include "reports/print/NWPrinView_GenericTable.h"
#include "reports/print/NWPrintView_NWStatement.h"
#include "reports/settings/ReportChoiceSettings.h"
#include "uikit/popover/APPopover.h"
#include "uikit/popover/PKPopoverController.h"

#include <QAbstractButton>
#include <QLocale>
#include <QPrinter>

#include <utility>

using namespace Qt::Literals::StringLiterals;
namespace keys = ReportChoiceSettings;
using platform::Strings;

namespace {

QString monthAndYear(const keys::MonthYear& month, const QString& format)
{
    return QLocale().toString(DateUtilities::dateWithYear(month.year, month.month).date(), format);
}

/// The period line of a table report: From, then To.
QString periodText(const keys::Period& period)
{
    return u"%1 - %2"_s.arg(monthAndYear(period.from, u"MMM yyyy"_s), monthAndYear(period.to, u"MMM yyyy"_s));
}

const MVX_NWLogList& records(const NWData& store)
{
    static const MVX_NWLogList none;
    const auto& model = store.appData();
    return model && model->nwLogArray() ? *model->nwLogArray() : none;
}

} // namespace

ReportPrinting::ReportPrinting(NWData& store, Host host, QObject* parent)
    : QObject(parent), m_store(store), m_host(std::move(host))
{
}

ReportPrinting::~ReportPrinting()
{
    PKPopoverController::dropPopover(m_reportSelection);
}

void ReportPrinting::printAction(QAbstractButton* sender)
{
    if (PKPopoverController::dropPopover(m_reportSelection) || !sender)
        return;
    m_reportSelection = new PKPopoverController(new ReportChoiceController, this);
    m_reportSelection->setDefaultProperties_ItemEdit();
    // The name field takes typing; Escape must not throw the choices away.
    m_reportSelection->setClosesWhenEscapeKeyPressed(false);
    m_reportSelection->showRelativeToRect(QRectF(sender->rect()), sender, platform::RectEdge::MaxY);
}

void ReportPrinting::printNotificationHandler(const platform::Notification& n)
{
    const int kind = n.object.isValid() ? n.object.toInt() : 0;
    // The choice closes itself right after posting; the panel comes once it is gone.
    platform::runLater(this, [this, kind] { printTheSelectedReport(kind); });
}

void ReportPrinting::nwPrintPopupClosed(const platform::Notification& n)
{
    static_cast<void>(n);
    if (m_printPopover)
        m_printPopover->closePopover();
    m_printPopover = nullptr;
}

void ReportPrinting::setUpPage(QPrinter& printer)
{
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(18, 30, 18, 40), QPageLayout::Point);
}

const MVX_NWLog* ReportPrinting::getPreviousLog(const NWData& store, const MVX_NWLog* record, int distance)
{
    return NWPrintView_NWStatement::getPreviousLog(store, record, distance);
}

void ReportPrinting::printTheSelectedReport(int kind)
{
    setUpPage(PrintSession::printer());
    if (kind == static_cast<int>(keys::ReportKind::Statement))
        printStatement();
    else if (kind >= static_cast<int>(keys::ReportKind::Assets)
        && kind <= static_cast<int>(keys::ReportKind::Tags))
        printTable(kind);
}

void ReportPrinting::printStatement()
{
    const MVX_NWLogList& list = records(m_store);
    const MVX_NWLog* newest = list.isEmpty() ? nullptr : list.first().get();
    const std::optional<keys::MonthYear> chosen = keys::selectedMonth();
    const auto noRecordFor = [](const keys::MonthYear& month) {
        return Strings::tr("There is no record for %1 to print.").arg(monthAndYear(month, u"MMMM yyyy"_s));
    };
    if (!newest) {
        m_host.showMessage(Strings::tr("There is no record to print yet. Add a monthly record first."));
        return;
    }
    // Never a substitute month: a month without a record prints nothing.
    if (chosen && !m_store.haveNWLogWithYear(chosen->year, chosen->month)) {
        m_host.showMessage(noRecordFor(*chosen));
        return;
    }
    QPrinter& printer = PrintSession::printer();
    auto view = std::make_shared<NWPrintView_NWStatement>(
        printer, m_store, newest, getPreviousLog(m_store, newest, 1), getPreviousLog(m_store, newest, 12));
    if (!view->currentLog()) {
        const auto asked = view->chosenMonthYear();
        m_host.showMessage(asked
                ? noRecordFor({ asked->first, asked->second })
                : Strings::tr("There is no record to print yet. Add a monthly record first."));
        return;
    }
    runPrint(
        Strings::tr("Net worth statement report"), [view](QPrinter& target) { return view->print(target); });
}

void ReportPrinting::printTable(int kind)
{
    const keys::Period period = keys::period();
    const auto from
        = std::optional<QDateTime>(DateUtilities::dateWithYear(period.from.year, period.from.month));
    const auto to = std::optional<QDateTime>(DateUtilities::dateWithYear(period.to.year, period.to.month));
    const QColor subtitleColor = QColor::fromRgbF(0.25f, 0.25f, 0.25f);
    QString title;
    QString subtitle;
    QColor titleColor;
    QList<NWReportRecord> rows;
    const auto& model = m_store.appData();
    if (kind == static_cast<int>(keys::ReportKind::Tags)) {
        QStringList known;
        const MVX_TagsList tags = model ? model->tags().value_or(MVX_TagsList()) : MVX_TagsList();
        for (const QString& id : keys::tagIDs()) {
            if (std::any_of(
                    tags.cbegin(), tags.cend(), [&id](const auto& tag) { return tag && tag->ID() == id; }))
                known << id;
        }
        if (known.isEmpty()) {
            m_host.showMessage(Strings::tr("No tag is chosen for the tags report. Tick at least one tag on "
                                           "the Tags tab of the print button."));
            return;
        }
        title = Strings::tr("Tags report");
        subtitle = Strings::tr("Selected tags: %1").arg(m_store.getTagNames(known));
        // The orange of the tags darkened to 3:1 on white paper, which a 22-point title needs.
        titleColor = QColor(0xDB, 0x75, 0x05);
        rows = m_store.getTaggedRecords(known, from, to);
    } else {
        const bool assets = kind == static_cast<int>(keys::ReportKind::Assets);
        const auto categories = model ? (assets ? model->assetscat() : model->liabilitycat()) : std::nullopt;
        if (!categories || categories->isEmpty()) {
            m_host.showMessage(assets ? Strings::tr("There is no asset category to report on yet.")
                                      : Strings::tr("There is no liability category to report on yet."));
            return;
        }
        const QString id = assets ? keys::assetCategory() : keys::liabilityCategory();
        const std::optional<QString> name = id.isNull() ? std::nullopt
            : assets                                    ? m_store.getAssetCategoryNameFromCategoryId(id)
                                                        : m_store.getLiabilityCategoryNameFromCategoryId(id);
        // A category deleted since it was chosen counts as none chosen.
        if (!name) {
            m_host.showMessage(assets
                    ? Strings::tr("No asset category is chosen for the assets report. Choose "
                                  "one on the Assets tab of the print button.")
                    : Strings::tr("No liability category is chosen for the liability report. "
                                  "Choose one on the Liabilities tab of the print button."));
            return;
        }
        title = assets ? Strings::tr("Assets report") : Strings::tr("Liability report");
        subtitle = Strings::tr("Category: %1").arg(*name);
        titleColor = assets ? QColor::fromRgbF(0.11f, 0.52f, 0.98f) : QColor::fromRgbF(0.99f, 0.3f, 0.48f);
        rows = assets ? m_store.getAssetReportRecords(id, from, to)
                      : m_store.getLiabilityReportRecords(id, from, to);
    }
    auto view = std::make_shared<NWPrinView_GenericTable>(PrintSession::printer(), m_store, title, subtitle,
        periodText(period), titleColor, subtitleColor, std::move(rows));
    runPrint(title, [view](QPrinter& target) { return view->print(target); });
}

void ReportPrinting::runPrint(const QString& jobTitle, const std::function<bool(QPrinter&)>& print)
{
    QPrinter& printer = PrintSession::printer();
    printer.setDocName(jobTitle);
#ifdef MERVANE_TEST_PRINT_SEAM
    // Test builds only: the end-to-end tests print to a file instead of facing the panel.
    if (const QString pdf = qEnvironmentVariable("MERVANE_TEST_PRINT_PDF"); !pdf.isEmpty())
        PrintSession::setNextOutputFile(pdf);
#endif
    const QPointer<ReportPrinting> alive(this);
    if (!PrintSession::runPrintPanel(m_host.window ? m_host.window() : nullptr) || !alive)
        return;
    if (!print(printer))
        m_host.showMessage(Strings::tr("The report could not be printed."));
}
