#pragma once

#include "app/lock/PasswordOverlayWindowController.h"
#include "app/lock/PasswordStore.h"

#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class AppDelegate;
class MOModalOverlay;
class QAbstractButton;

/// Locks the main window behind the keychain password: the lock button, the lock overlay at
/// launch and after it. While locked the title-bar commands are hidden and refused, the zoom
/// button is off and no popover is open; closing, minimising and quitting stay possible.
/// With "AppLockIsSet" the window locks before the keychain has answered and only the
/// password it hands back opens it: a keychain that is slow, fails or is gone keeps the
/// window locked. Nothing here waits for the keychain. Lives as long as the delegate's
/// commands; main thread only.
class AppLock : public QObject {
    Q_OBJECT
public:
    explicit AppLock(AppDelegate& delegate, QObject* parent = nullptr);
    ~AppLock() override;

    /// The title-bar lock button: locks when a password is set, else tells (or, pressed
    /// again, stops telling) that none is.
    void lockButtonHandler(QAbstractButton* sender);
    /// Locks the window when a password is set: at once with "AppLockIsSet", else once the
    /// keychain hands one back (the flag is set then). Otherwise, when the keychain holds
    /// none or cannot be read, calls `withoutPassword`.
    void showPwdWindow(std::function<void()> withoutPassword = {});
    /// Asks the keychain again for the password the lock panel waits for.
    void tryAgain();

    /// Made at the first lock, then reused; null before.
    PasswordOverlayWindowController* passcodeOverlayWindowController() const { return m_controller; }
    MOModalOverlay& modalOverlay() const { return *m_modalOverlay; }
    /// The title image put in the title bar at the first lock; null before.
    QWidget* titleImage() const { return m_titleImage; }
    /// The title image's name for the language of `locale`.
    static QString titleImageName(const QLocale& locale);

private:
    void lockWindow(const std::optional<PasswordStore::Stored>& known);
    void showPasswordView();
    void readPassword();
    void passwordRead(const platform::Expected<PasswordStore::Stored>& stored);
    void setCommandsShown(bool shown);
    void unlocked();

    AppDelegate& m_delegate;
    std::unique_ptr<MOModalOverlay> m_modalOverlay;
    QPointer<PasswordOverlayWindowController> m_controller;
    QPointer<QWidget> m_titleImage;
    /// Only the answer to the latest read counts.
    quint64 m_readGeneration = 0;
    bool m_askingWhetherSet = false;
};
