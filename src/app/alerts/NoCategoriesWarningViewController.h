#pragma once

#include <QPushButton>
#include <QWidget>

/// Told to the user who adds a monthly record before any category exists. Its one button
/// is "closeButton".
class NoCategoriesWarningViewController : public QWidget {
    Q_OBJECT
public:
    explicit NoCategoriesWarningViewController(QWidget* parent = nullptr);

    void closeHandler();

Q_SIGNALS:
    /// The user answered; the popover showing this controller closes right after.
    void closeRequested();

private:
    QPushButton* m_closeButton = nullptr;
};
