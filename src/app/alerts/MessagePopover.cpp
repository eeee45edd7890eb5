#include "app/alerts/MessagePopover.h"

#include "app/alerts/SimpleAlertViewController.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QLabel>
#include <QWidget>

const QString MessagePopover::windowTitle = QStringLiteral("Mervane message");

MessagePopover::MessagePopover(QObject* parent) : QObject(parent)
{
}

MessagePopover::~MessagePopover()
{
    // A panel someone else's content replaced was handed back to us and is ours to delete.
    if (m_content && (!m_popover || m_popover->contentViewController() != m_content))
        delete m_content.data();
    delete m_popover.data();
}

void MessagePopover::showMessage(const QString& text, QWidget* anchor, bool sticky, platform::RectEdge edge)
{
    if (!m_popover) {
        m_content = new SimpleAlertViewController;
        m_popover = new PKPopoverController(m_content.data());
        m_popover->popoverWindow()->setWindowTitle(windowTitle);
    }
    if (m_popover->shown()) {
        setText(text);
        return;
    }
    m_popover->setDefaultProperties_ItemWarning();
    if (sticky) {
        // Stays up while the application is in the background or the main window takes the
        // keyboard (as it does at start-up); Escape and a click on the main window close it.
        m_popover->setClosesWhenPopoverResignsKey(false);
        m_popover->setClosesWhenApplicationBecomesInactive(false);
    }
    setText(text);
    if (!anchor) {
        qWarning("%s", qPrintable(text));
        return;
    }
    // Widgets count y downwards: the max-y edge is the button's bottom, so the panel hangs
    // below it with its arrow pointing up.
    m_popover->showRelativeToRect(QRectF(anchor->rect()), anchor, edge);
}

void MessagePopover::setText(const QString& text)
{
    // The popover owns its content and anyone holding the popover may replace it, which
    // hands the message panel back to us: it goes in again before the text does.
    if (!m_content)
        m_content = new SimpleAlertViewController;
    if (m_popover->contentViewController() != m_content)
        m_popover->setContentViewController(m_content.data());
    if (QLabel* label = m_content->alertCtl())
        label->setText(text);
    // The popover grows or shrinks with the text, also while it is open.
    m_popover->setContentSize(QSizeF(m_content->fittingSize()));
}

void MessagePopover::close()
{
    if (m_popover && m_popover->shown())
        m_popover->close();
}

bool MessagePopover::isShown() const
{
    return m_popover && m_popover->shown();
}

QString MessagePopover::text() const
{
    return m_content && m_content->alertCtl() ? m_content->alertCtl()->text() : QString();
}
