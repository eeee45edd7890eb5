#pragma once

#include "uikit/controls/buttons/SBSubtleButton.h"
#include "uikit/controls/fields/NW_SecureTextField.h"
#include "uikit/overlay/MOModalOverlayDelegate.h"
#include "uikit/overlay/SASpringAnimation.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <functional>

/// The lock image of the panel; `rotation` (radians, clockwise) turns it about its centre.
class LockImageView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double rotation READ rotation WRITE setRotation)
public:
    explicit LockImageView(QWidget* parent = nullptr);
    double rotation() const { return m_rotation; }
    void setRotation(double radians);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_rotation = 0;
};

/// The content of the lock overlay: a panel with the password field, the unlock button, the
/// lock image and the hint line, over a patterned background. Until the keychain has handed
/// back the password the field and the button are off and a line says why: waiting for the
/// keychain, or what went wrong, with a "Try again" button. A wrong password calls the
/// completion with false (its owner shakes the panel) and, from the second wrong try on,
/// shows the hint; the right one spins the lock and then calls the completion with true.
/// The spin belongs to the controller: once it is gone, nothing of it runs. Main thread only.
class PasswordOverlayWindowController : public QWidget,
                                        public MOModalOverlayContent,
                                        public SBSubtleButtonDelegate {
    Q_OBJECT
public:
    using Completion = std::function<void(bool unlocked)>;
    /// The unlock button's title, and its title while pressed.
    static const QString unlockGlyph;
    static const QString pressedUnlockGlyph;
    static constexpr double spinSeconds = 0.45;
    static constexpr double spinMaxSeconds = 0.5;

    enum class KeychainState { Waiting, Failed, Ready };

    explicit PasswordOverlayWindowController(QWidget* parent = nullptr);
    ~PasswordOverlayWindowController() override;

    /// The password is not known yet: nothing can unlock, the status line says so.
    void showWaitingForKeychain();
    /// The password could not be had, for `reason`; "Try again" is offered.
    void showKeychainFailure(const QString& reason);
    /// The password and hint came from the keychain: the field takes the keyboard.
    void showPasswordReady(const QString& password, const QString& hint);
    KeychainState keychainState() const { return m_keychainState; }

    /// Empties the field, hides the hint line and gives the field the keyboard.
    void setFocusOnPasswordField();
    /// One attempt with the field's text.
    void unlockBtnPress();
    void subtleButtonEvent(QMouseEvent* event, SBSubtleButton* button) override;

    int passwordErrorCount() const { return m_passwordErrorCount; }
    void setPasswordErrorCount(int count) { m_passwordErrorCount = count; }
    const Completion& completion() const { return m_completion; }
    void setCompletion(Completion completion) { m_completion = std::move(completion); }
    const QString& password() const { return m_password; }
    void setPassword(const QString& password) { m_password = password; }
    const QString& passwordHint() const { return m_passwordHint; }
    void setPasswordHint(const QString& hint) { m_passwordHint = hint; }

    QWidget* lockView() const override { return m_lockView; }
    NW_SecureTextField* pwdEditCtl() const { return m_pwdEditCtl; }
    QLabel* hintLabel() const { return m_hintLabel; }
    LockImageView* safeLockImage() const { return m_safeLockImage; }
    SBSubtleButton* customUnlockButton() const { return m_customUnlockButton; }
    /// The unlock spin; owned by the controller.
    SASpringAnimation* animation() const { return m_animation; }
    QLabel* keychainStatus() const { return m_keychainStatus; }
    QPushButton* tryAgainButton() const { return m_tryAgainButton; }

Q_SIGNALS:
    /// "Try again" was pressed after a keychain failure.
    void tryAgainRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void animationDidStop();
    void setUnlockEnabled(bool enabled);
    void fitKeychainStatus();

    KeychainState m_keychainState = KeychainState::Waiting;
    int m_passwordErrorCount = 0;
    Completion m_completion;
    QPointer<QWidget> m_lockView;
    QPointer<NW_SecureTextField> m_pwdEditCtl;
    QPointer<QLabel> m_hintLabel;
    QPointer<LockImageView> m_safeLockImage;
    QPointer<SASpringAnimation> m_animation;
    QPointer<SBSubtleButton> m_customUnlockButton;
    QPointer<QLabel> m_keychainStatus;
    QPointer<QPushButton> m_tryAgainButton;
    QString m_password;
    QString m_passwordHint;
};
