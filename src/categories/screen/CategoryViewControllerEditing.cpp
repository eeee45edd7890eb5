// Opening the category editor: Add, Edit, a double click and the row action, and closing it
// once it saved.
#include "categories/screen/CategoryViewController.h"

#include "categories/editor/CategoryEditorPopover.h"
#include "categories/screen/CategoryListModel.h"
#include "categories/screen/CategoryListPane.h"
#include "uikit/window/TBWindowButton.h"

#include <QListView>

void CategoryViewController::addNewCategoryHandler(TBWindowButton* sender)
{
    CategoryListPane* const pane = paneOf(sender);
    if (PKPopoverController::dropPopover(m_editCategoryPopover))
        return;
    m_editCategoryPopover = newCategoryEditorPopover(nullptr, pane->isAsset(), this);
    TBWindowButton* const anchor = pane->addButton();
    m_editCategoryPopover->showRelativeToRect(QRectF(anchor->rect()), anchor, platform::RectEdge::MinY);
}

void CategoryViewController::categoryEditClickHandler(TBWindowButton* sender)
{
    categoryEditHandler(sender, false);
}

void CategoryViewController::categoryEditHandler(TBWindowButton* sender, bool isDoubleClick)
{
    CategoryListPane* const pane = paneOf(sender);
    int row = -1;
    std::shared_ptr<MVX_Category> category = pane->selectedCategory(-1, &row);
    if (!category)
        return;
    if (PKPopoverController::dropPopover(m_editCategoryPopover))
        return;
    m_editCategoryPopover = newCategoryEditorPopover(std::move(category), pane->isAsset(), this);
    if (isDoubleClick) {
        QListView* const table = pane->tableView();
        const QRect rowRect = table->visualRect(pane->listModel()->index(row, 0));
        m_editCategoryPopover->showRelativeToRect(
            QRectF(rowRect.translated(table->viewport()->pos())), table, platform::RectEdge::MaxY);
        return;
    }
    // The command bar lies at the window's bottom edge: the editor stands above the button.
    TBWindowButton* const anchor = pane->editButton();
    m_editCategoryPopover->showRelativeToRect(QRectF(anchor->rect()), anchor, platform::RectEdge::MinY);
}

void CategoryViewController::editAssetCategory(int clickedRow)
{
    if (!assetPane()->listModel()->category(clickedRow))
        return;
    assetPane()->selectRow(clickedRow);
    categoryEditHandler(assetPane()->editButton(), false);
}

void CategoryViewController::editLblCategory(int clickedRow)
{
    if (!liabilityPane()->listModel()->category(clickedRow))
        return;
    liabilityPane()->selectRow(clickedRow);
    categoryEditHandler(liabilityPane()->editButton(), false);
}

void CategoryViewController::reloadAssetCategory()
{
    refreshLocalAssets();
    if (m_editCategoryPopover && m_editCategoryPopover->shown())
        m_editCategoryPopover->close();
}
