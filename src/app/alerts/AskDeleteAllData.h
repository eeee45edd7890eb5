#pragma once

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

/// The confirmation shown before deleting all data, or (in restore mode) before restoring a
/// backup. OK posts "DeleteAllMERVANEData" or "RestoreAllMERVANEData" and closes the
/// popover showing it; Cancel only closes it.
class AskDeleteAllData : public QWidget {
    Q_OBJECT
public:
    static const QString deleteAllNotification;
    static const QString restoreAllNotification;

    explicit AskDeleteAllData(QWidget* parent = nullptr);

    bool showRestoreWarning() const { return m_showRestoreWarning; }
    /// true switches to restore mode for good; false changes nothing.
    void changeWarningType(bool restore);

    QLabel* titleCtl() const { return m_titleCtl; }
    QLabel* messageCtl() const { return m_messageCtl; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

    void okActionClick();
    void cancelActionClick();

Q_SIGNALS:
    /// The user answered; the popover showing this controller closes right after.
    void closeRequested();

private:
    bool m_showRestoreWarning = false;
    QPointer<QLabel> m_titleCtl;
    QPointer<QLabel> m_messageCtl;
    QPointer<QPushButton> m_okButton;
    QPointer<QPushButton> m_cancelButton;
};
