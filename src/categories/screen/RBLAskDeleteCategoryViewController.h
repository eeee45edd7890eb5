#pragma once

#include <QPushButton>
#include <QWidget>

/// Asks before a category is deleted. OK posts "CategoryDelete" (the category screen
/// deletes the waiting category and closes this popover); Cancel closes the popover.
class RBLAskDeleteCategoryViewController : public QWidget {
    Q_OBJECT
public:
    explicit RBLAskDeleteCategoryViewController(QWidget* parent = nullptr);

    void okButtonClick();
    void cancelButtonClick();

private:
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
