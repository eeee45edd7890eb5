#include "app/lock/AppLock.h"

#include "app/alerts/MessagePopover.h"
#include "app/lock/PasswordOverlayWindowController.h"
#include "app/lock/PasswordStore.h"
#include "app/shell/AppDelegate.h"
#include "platform/Strings.h"
#include "uikit/overlay/MOModalOverlay.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBWindowButton.h"

#include <QAbstractButton>

AppLock::AppLock(AppDelegate& delegate, QObject* parent)
    : QObject(parent), m_delegate(delegate), m_modalOverlay(std::make_unique<MOModalOverlay>())
{
}

AppLock::~AppLock() = default;

void AppLock::lockButtonHandler(QAbstractButton* sender)
{
    if (!PasswordStore::getThePassword().isEmpty()) {
        showPwdWindow();
        return;
    }
    MessagePopover& notice = m_delegate.sharedMessagePopover();
    if (notice.isShown()) {
        notice.close();
        return;
    }
    notice.showMessage(
        platform::Strings::tr("You haven't set your password yet ('Settings' form)! "), sender);
}

void AppLock::showPwdWindow()
{
    const QString password = PasswordStore::getThePassword();
    if (password.isEmpty() || m_delegate.pwdWinDisplayed())
        return;
    const QString hint = PasswordStore::getThePasswordHint();

    // Nothing opened before the lock may stay in view or take input behind it.
    PKPopoverController::closeAllShownPopovers();
    setCommandsShown(false);
    m_delegate.setPwdWinDisplayed(true);
    showPasswordViewWithPassword(password, hint);

    QPointer<AppLock> self(this);
    m_controller->setCompletion([self](bool unlocked) {
        if (!self)
            return;
        if (unlocked)
            self->unlocked();
        else
            self->m_modalOverlay->shake();
    });
}

void AppLock::showPasswordViewWithPassword(const QString& password, const QString& passwordHint)
{
    if (!m_controller) {
        m_controller = new PasswordOverlayWindowController;
        m_modalOverlay->setContentViewController(m_controller);
        m_modalOverlay->setAnimates(true);
        m_modalOverlay->setAnimationDirection(MOModalOverlay::AnimationDirection::FromLeft);
        m_modalOverlay->setShouldOverlayTitleBar(false);
        // Opaque: nothing of the window's content shows through the lock.
        m_modalOverlay->setBackgroundColor(QColor(59, 65, 73));
        m_modalOverlay->setShouldCloseWhenClickOnBackground(false);
        TBAppWindow* window = m_delegate.window();
        window->setTitleBarHeight(40);
        window->setShowsTitle(false);
        window->setHideTitleBarInFullScreen(false);
        window->setCenterTrafficLightButtons(false);
    }
    m_controller->setPassword(password);
    m_controller->setPasswordHint(passwordHint);
    m_modalOverlay->showInWindow(m_delegate.windowWidget(), m_delegate.window()->contentView());
    m_controller->setFocusOnPasswordField();
}

void AppLock::setCommandsShown(bool shown)
{
    for (TBWindowButton* button : m_delegate.titleBarButtons()) {
        button->setVisible(shown);
        button->setEnabled(shown);
    }
    for (const auto kind : { TBStandardButtons::Kind::Zoom, TBStandardButtons::Kind::Miniaturize }) {
        if (TBWindowButton* button = m_delegate.window()->standardWindowButton(kind))
            button->setEnabled(shown);
    }
}

void AppLock::unlocked()
{
    m_delegate.setPwdWinDisplayed(false);
    m_modalOverlay->close();
    setCommandsShown(true);
    if (!m_delegate.initializedAfterPwd())
        m_delegate.initAfterPwdCompleted();
}
