#pragma once

#include "app/lock/PasswordOverlayWindowController.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class AppDelegate;
class MOModalOverlay;
class QAbstractButton;

/// Locks the main window behind the keychain password: the lock button, the lock overlay at
/// launch and after it. While locked the title-bar commands are hidden and refused, the zoom
/// and minimize buttons are off and no popover is open; the window's close button still
/// quits. Lives as long as the delegate's commands; main thread only.
class AppLock : public QObject {
    Q_OBJECT
public:
    explicit AppLock(AppDelegate& delegate, QObject* parent = nullptr);
    ~AppLock() override;

    /// The title-bar lock button: locks when a password is set, else tells (or, pressed
    /// again, stops telling) that none is.
    void lockButtonHandler(QAbstractButton* sender);
    /// Locks the window when a password is set, read afresh from the keychain.
    void showPwdWindow();
    void showPasswordViewWithPassword(const QString& password, const QString& passwordHint);

    /// Made at the first lock, then reused; null before.
    PasswordOverlayWindowController* passcodeOverlayWindowController() const { return m_controller; }
    MOModalOverlay& modalOverlay() const { return *m_modalOverlay; }

private:
    void setCommandsShown(bool shown);
    void unlocked();

    AppDelegate& m_delegate;
    std::unique_ptr<MOModalOverlay> m_modalOverlay;
    QPointer<PasswordOverlayWindowController> m_controller;
};
