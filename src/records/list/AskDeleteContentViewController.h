#pragma once

#include <QPushButton>
#include <QWidget>

/// Asks before a monthly record is deleted. OK posts "nwRecordDelete" (the record list
/// deletes and closes this popover); Cancel closes the popover.
class AskDeleteContentViewController : public QWidget {
    Q_OBJECT
public:
    explicit AskDeleteContentViewController(QWidget* parent = nullptr);

    void okButtonClick();
    void cancelButtonClick();

private:
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
