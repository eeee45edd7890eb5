#pragma once

#include "app/CommandHost.h"
#include "platform/NotificationCenter.h"
#include "uikit/popover/APPopover.h"
#include "uikit/popover/PKPopoverController.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class MVX_NWLog;
class NWData;
class QAbstractButton;
class QPrinter;

/// The title bar's print command: the report choice popover at the print button, and the
/// print of the report it chose, one turn of the event loop after its "PrintNotification".
/// Every print goes through the shared printer and its panel (`PrintSession`); a report
/// with nothing to print is not printed and the user is told why. Main thread only; owned by
/// the application's commands.
class ReportPrinting : public QObject {
    Q_OBJECT
public:
    using Host = CommandHost;

    ReportPrinting(NWData& store, Host host, QObject* parent = nullptr);
    ~ReportPrinting() override;

    /// Opens the report choice at `sender`, or closes it when it is shown.
    void printAction(QAbstractButton* sender);
    /// Prints the notification's kind (0 without one) on a later turn of the event loop.
    void printNotificationHandler(const platform::Notification& n);
    /// Prints one report kind (0 statement, 1 assets, 2 liabilities, 3 tags; others nothing).
    void printTheSelectedReport(int kind);
    void nwPrintPopupClosed(const platform::Notification& n);

    /// The report choice popover while it is held; null otherwise.
    PKPopoverController* reportSelection() const { return m_reportSelection; }

    /// The record `distance` places after `record` (found by identity) in the store's records,
    /// newest first; null when it is not there or the place lies past the end.
    static const MVX_NWLog* getPreviousLog(const NWData& store, const MVX_NWLog* record, int distance);
    /// Margins top 30, bottom 40, left 18, right 18 points, portrait; the paper stays the
    /// shared one.
    static void setUpPage(QPrinter& printer);

private:
    void printStatement();
    void printTable(int kind);
    /// Runs the print panel and `print` on the printer; says so when it fails.
    void runPrint(const QString& jobTitle, const std::function<bool(QPrinter&)>& print);

    NWData& m_store;
    Host m_host;
    QPointer<PKPopoverController> m_reportSelection;
    QPointer<APPopover> m_printPopover;
};
