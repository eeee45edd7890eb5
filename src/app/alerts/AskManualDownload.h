#pragma once

#include <QPushButton>
#include <QWidget>

/// Offers to open the user manual from the web site (the help button's popover). Its
/// buttons are "yesButton" and "cancelButton".
class AskManualDownload : public QWidget {
    Q_OBJECT
public:
    explicit AskManualDownload(QWidget* parent = nullptr);

    void yesClick();
    void cancelClick();

Q_SIGNALS:
    /// The user answered; the popover showing this controller closes right after.
    void closeRequested();

private:
    QPushButton* m_yesButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
