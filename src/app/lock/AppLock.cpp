#include "app/lock/AppLock.h"

#include "app/alerts/MessagePopover.h"
#include "app/lock/PasswordOverlayWindowController.h"
#include "app/shell/AppDelegate.h"
#include "app/shell/AppSettings.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "uikit/overlay/MOModalOverlay.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBWindowButton.h"

#include <QAbstractButton>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QRect titleImageFrame(120, 0, 248, 40);

// The product's name in the title bar while the window is locked (and after).
class TitleImageView : public QWidget {
public:
    explicit TitleImageView(QWidget* parent) : QWidget(parent)
    {
        setObjectName(u"titleImage"_s);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QImage image = platform::image(AppLock::titleImageName(QLocale()), size(), devicePixelRatioF());
        if (image.isNull()) // the language has no title image of its own
            image = platform::image(u"TitleImage"_s, size(), devicePixelRatioF());
        QPainter(this).drawImage(QRectF(rect()), image);
    }
};

} // namespace

AppLock::AppLock(AppDelegate& delegate, QObject* parent)
    : QObject(parent), m_delegate(delegate), m_modalOverlay(std::make_unique<MOModalOverlay>())
{
}

AppLock::~AppLock() = default;

QString AppLock::titleImageName(const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::German:
        return u"TitleImageDE"_s;
    case QLocale::Serbian:
    case QLocale::Croatian:
        return u"TitleImageSR"_s;
    case QLocale::Japanese:
        return u"TitleImageJP"_s;
    default:
        return u"TitleImage"_s;
    }
}

void AppLock::lockButtonHandler(QAbstractButton* sender)
{
    if (m_delegate.pwdWinDisplayed())
        return;
    if (AppSettings::appLockIsSet()) {
        lockWindow(std::nullopt);
        return;
    }
    MessagePopover& notice = m_delegate.sharedMessagePopover();
    if (notice.isShown()) {
        notice.close();
        return;
    }
    showPwdWindow([this, anchor = QPointer<QAbstractButton>(sender)] {
        if (anchor && !m_delegate.pwdWinDisplayed())
            m_delegate.sharedMessagePopover().showMessage(
                platform::Strings::tr("You haven't set your password yet ('Settings' form)! "), anchor);
    });
}

void AppLock::showPwdWindow(std::function<void()> withoutPassword)
{
    if (m_delegate.pwdWinDisplayed())
        return;
    if (AppSettings::appLockIsSet()) {
        lockWindow(std::nullopt);
        return;
    }
    // A second press while the keychain is asked is the same question.
    if (m_askingWhetherSet)
        return;
    m_askingWhetherSet = true;
    PasswordStore::read(
        this, [this, withoutPassword](const platform::Expected<PasswordStore::Stored>& stored) {
            m_askingWhetherSet = false;
            // Without the flag, a keychain that cannot be read counts as holding no password.
            if (!stored || stored->password.isEmpty()) {
                if (withoutPassword)
                    withoutPassword();
                return;
            }
            // Set before this flag existed: from now on the lock holds without the keychain.
            AppSettings::setAppLockIsSet(true);
            lockWindow(*stored);
        });
}

void AppLock::lockWindow(const std::optional<PasswordStore::Stored>& known)
{
    if (m_delegate.pwdWinDisplayed())
        return;
    // Nothing opened before the lock may stay in view or take input behind it.
    PKPopoverController::closeAllShownPopovers();
    setCommandsShown(false);
    m_delegate.setPwdWinDisplayed(true);
    showPasswordView();

    QPointer<AppLock> self(this);
    m_controller->setCompletion([self](bool unlocked) {
        if (!self)
            return;
        if (unlocked)
            self->unlocked();
        else
            self->m_modalOverlay->shake();
    });
    if (known) {
        ++m_readGeneration;
        passwordRead(*known);
    } else {
        readPassword();
    }
}

void AppLock::tryAgain()
{
    if (m_delegate.pwdWinDisplayed() && m_controller)
        readPassword();
}

void AppLock::readPassword()
{
    const quint64 generation = ++m_readGeneration;
    m_controller->showWaitingForKeychain();
    PasswordStore::read(this, [this, generation](const platform::Expected<PasswordStore::Stored>& stored) {
        if (generation == m_readGeneration && m_delegate.pwdWinDisplayed())
            passwordRead(stored);
    });
}

void AppLock::passwordRead(const platform::Expected<PasswordStore::Stored>& stored)
{
    if (!stored) {
        m_controller->showKeychainFailure(stored.error());
        return;
    }
    // A locked keychain whose unlock the user declined answers as if it held nothing.
    if (stored->password.isEmpty()) {
        m_controller->showKeychainFailure(
            platform::Strings::tr("The keychain holds no password for Mervane. It may be locked, or the "
                                  "password was removed from it."));
        return;
    }
    m_controller->showPasswordReady(stored->password, stored->hint);
}

void AppLock::showPasswordView()
{
    if (!m_controller) {
        m_controller = new PasswordOverlayWindowController;
        connect(m_controller, &PasswordOverlayWindowController::tryAgainRequested, this, &AppLock::tryAgain);
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
        m_modalOverlay->setTitleBarHeight(window->titleBarHeight());
        m_titleImage = new TitleImageView(window->titleBarView());
        m_titleImage->setGeometry(titleImageFrame);
        m_titleImage->show();
    }
    m_modalOverlay->showInWindow(m_delegate.windowWidget(), m_delegate.window()->contentView());
}

void AppLock::setCommandsShown(bool shown)
{
    for (TBWindowButton* button : m_delegate.titleBarButtons()) {
        button->setVisible(shown);
        button->setEnabled(shown);
    }
    if (TBWindowButton* zoom = m_delegate.window()->standardWindowButton(TBStandardButtons::Kind::Zoom))
        zoom->setEnabled(shown);
}

void AppLock::unlocked()
{
    m_delegate.setPwdWinDisplayed(false);
    m_modalOverlay->close();
    setCommandsShown(true);
    if (!m_delegate.initializedAfterPwd())
        m_delegate.initAfterPwdCompleted();
}
