#pragma once

#include "app/CommandHost.h"
#include "app/share/AboutWindow.h"
#include "uikit/popover/PKPopoverController.h"

#include <QAbstractButton>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace MailDrafts {
struct Draft;
}

/// The title bar's ways out of the application: the share menu (copy the promotional text,
/// report an issue, request a feature), the about sheet and the manual-download popover.
/// The menu and the popover are made anew at each opening, the sheet once. Main thread only.
class ShareCommands : public QObject {
    Q_OBJECT
public:
    using Host = CommandHost;

    explicit ShareCommands(Host host, QObject* parent = nullptr);
    ~ShareCommands() override;

    /// "#Mervane 2 app for Mac from @<handle>. <product page>".
    static QString promotionalText();

    /// Pops the share menu up below `sender`; while it is shown, a press on `sender` only
    /// closes it.
    void shareButtonHandler(QAbstractButton* sender);
    /// The share menu while it is shown (its items "copyShareItem", "reportAnIssueItem",
    /// "featureRequestItem"), else null.
    QMenu* sharePicker() const { return m_sharePicker; }
    /// Puts the promotional text on the clipboard (Linux has no sharing services).
    void copyPromotionalText();
    /// Hands the issue report to the mail program; says so when none took it.
    void reportingAnIssue();
    /// Hands the feature request to the mail program; says so when none took it.
    void featureRequest();

    /// Shows the about sheet on the main window (made on first use, then kept).
    void infoABoutButtonHandler(QAbstractButton* sender);
    AboutWindow* aboutSheet() const { return m_aboutSheet; }

    /// Opens the manual-download popover at `sender`, or closes it when it is shown.
    void helpButtonHandler(QAbstractButton* sender);
    PKPopoverController* getManualPopover() const { return m_getManualPopover; }

    /// The top left corner (Qt's screen coordinates) of a menu of `menuSize` shown at the
    /// maximum-y edge of a button at `anchor` (Qt's screen coordinates): right below it, centred.
    static QPoint menuPosition(const QRect& anchor, const QSize& menuSize);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openMail(const MailDrafts::Draft& draft);

    Host m_host;
    QPointer<QMenu> m_sharePicker;
    QPointer<QAbstractButton> m_shareAnchor;
    QPointer<AboutWindow> m_aboutSheet;
    QPointer<PKPopoverController> m_getManualPopover;
};
