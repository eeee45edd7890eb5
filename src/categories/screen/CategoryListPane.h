#pragma once

#include "model/data/MVX_Category.h"
#include "uikit/controls/bar/CommandBar.h"
#include "uikit/window/TBWindowButton.h"

#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QWidget>

#include <memory>

class CategoryListModel;
class TableRowHost;
class TableRowView;

/// One half of the category screen (assets or liabilities): its title, its "Show hidden"
/// check box, the list of its categories with one row widget per row in view, and its
/// command bar with Delete, Add and Edit. Delete and Edit follow the list's selection. The
/// screen decides what the commands and a drop do.
class CategoryListPane : public QWidget {
    Q_OBJECT
public:
    CategoryListPane(bool isAsset, QWidget* parent = nullptr);

    bool isAsset() const { return m_isAsset; }
    /// Lists the store's categories again with the switch as it is; the selection goes.
    void reload();
    /// The first selected row's category, else the one of `clickedRow`; null for a row
    /// outside the list. `row` receives the row taken (-1 for none).
    std::shared_ptr<MVX_Category> selectedCategory(int clickedRow = -1, int* row = nullptr) const;
    /// Selects `row` alone.
    void selectRow(int row);

    bool showHidden() const { return m_showHidden; }
    bool hasSelectedRecord() const { return m_hasSelectedRecord; }
    QListView* tableView() const { return m_tableView; }
    CategoryListModel* listModel() const { return m_model; }
    TableRowHost* rowHost() const { return m_rowHost; }
    CommandBar* buttonView() const { return m_buttonView; }
    TBWindowButton* deleteButton() const { return m_deleteButton; }
    TBWindowButton* addButton() const { return m_addButton; }
    TBWindowButton* editButton() const { return m_editButton; }
    QCheckBox* showHiddenCheckBox() const { return m_showHiddenCheck; }

Q_SIGNALS:
    void deleteClicked();
    void addClicked();
    void editClicked();
    void rowDoubleClicked(int row);
    /// A row's menu was asked for at `globalPos`.
    void rowMenuRequested(int row, const QPoint& globalPos);
    /// A drop moved a category (the list shows the new order, the model holds the numbers).
    void categoryMoved();

private:
    void showHiddenChanged(bool checked);
    void selectionChanged();
    TableRowView* makeRow(int row);

    bool m_isAsset;
    bool m_showHidden = false;
    bool m_hasSelectedRecord = false;
    QPointer<QLabel> m_title;
    QPointer<QCheckBox> m_showHiddenCheck;
    QPointer<QListView> m_tableView;
    CategoryListModel* m_model = nullptr;
    TableRowHost* m_rowHost = nullptr;
    QPointer<CommandBar> m_buttonView;
    QPointer<TBWindowButton> m_deleteButton;
    QPointer<TBWindowButton> m_addButton;
    QPointer<TBWindowButton> m_editButton;
};
