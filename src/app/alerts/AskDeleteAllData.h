#pragma once

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

/// The confirmation shown before deleting all data, or (in restore mode) before restoring a
/// backup. OK closes the popover showing it and then, once the click has been handled, posts
/// `notifications::deleteAllData` or `notifications::restoreAllData`; Cancel only closes it. Its texts and
/// buttons are named after their outlets: "titleCtl", "messageCtl", "okButton", "cancelButton".
class AskDeleteAllData : public QWidget {
    Q_OBJECT
public:
    explicit AskDeleteAllData(QWidget* parent = nullptr);

    bool showRestoreWarning() const { return m_showRestoreWarning; }
    /// true switches to restore mode for good; false changes nothing.
    void changeWarningType(bool restore);

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
