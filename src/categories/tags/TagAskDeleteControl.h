#pragma once

#include <QPushButton>
#include <QWidget>

/// Asks before a tag is deleted. OK posts "TagDelete" (the tags screen deletes and closes
/// this popover); Cancel closes the popover.
class TagAskDeleteControl : public QWidget {
    Q_OBJECT
public:
    explicit TagAskDeleteControl(QWidget* parent = nullptr);

    void okButtonClick();
    void cancelButtonClick();

private:
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
