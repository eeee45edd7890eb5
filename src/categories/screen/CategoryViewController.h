#pragma once

#include "model/data/MVX_Category.h"
#include "uikit/popover/PKPopoverController.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class CategoryListPane;
class MessagePopover;
class QListView;
class TBWindowButton;

/// The sidebar's "Categories" screen: the asset categories (left) and the liability
/// categories (right), each list with its title, its "Show hidden" switch and its command
/// bar. It opens the category editor, deletes a category after asking, opens a category's
/// value history from its row, and reorders a list by dragging a row. It holds the store's
/// own category objects: new numbers and deletions change the model, which it saves under
/// the "Saving ..." overlay; a failed save is shown at the list's command bar, the change
/// staying in memory for the next save.
class CategoryViewController : public QWidget {
    Q_OBJECT
public:
    explicit CategoryViewController(QWidget* parent = nullptr);
    ~CategoryViewController() override;

    /// Both lists again from the store.
    void reloadData();
    void refreshLocalAssets();
    void refreshLocalLiabilities();

    /// The selected (else the clicked) category of a list, or null; `row` receives its row.
    std::shared_ptr<MVX_Category> getSelectedAssetCategory(int* row = nullptr, int clickedRow = -1) const;
    std::shared_ptr<MVX_Category> getSelectedLiabilityCategory(int* row = nullptr, int clickedRow = -1) const;

    // Commands; `sender` is the pressed button, which tells the list meant.
    void deleteCategoryHandler(TBWindowButton* sender);
    void addNewCategoryHandler(TBWindowButton* sender);
    void categoryEditClickHandler(TBWindowButton* sender);
    void categoryEditHandler(TBWindowButton* sender, bool isDoubleClick);

    // Row actions on a clicked row: they select it alone and act as the list's button.
    void editAssetCategory(int clickedRow);
    void editLblCategory(int clickedRow);
    void deleteAssetCategory(int clickedRow);
    void deleteLblCategory(int clickedRow);
    void showAssetLogs(int clickedRow);
    void showLiabilityLogs(int clickedRow);

    // Notification handlers.
    void nwDataReFetchedHandler();
    void reloadAssetCategory();
    void categoryDeleteNotifHandler();

    CategoryListPane* assetPane() const { return m_assetPane; }
    CategoryListPane* liabilityPane() const { return m_liabilityPane; }
    QListView* tableViewA() const;
    QListView* tableViewL() const;
    PKPopoverController* askDeletePopover() const { return m_askDeletePopover; }
    PKPopoverController* editCategoryPopover() const { return m_editCategoryPopover; }
    PKPopoverController* categoryLogPopover() const { return m_categoryLogPopover; }
    MessagePopover* messagePopover() const { return m_messages; }
    const std::shared_ptr<MVX_Category>& waitingAssetCategory() const { return m_deleteAssetCategory; }
    const std::shared_ptr<MVX_Category>& waitingLiabilityCategory() const
    {
        return m_deleteLiabilityCategory;
    }

private:
    CategoryListPane* paneOf(const TBWindowButton* sender) const;
    void showRowMenu(CategoryListPane* pane, int row, const QPoint& globalPos);
    void showLogs(CategoryListPane* pane, int clickedRow);
    /// Saves the model under the overlay; every screen reloads afterwards, the pies too when
    /// the order changed. A failure is shown at `pane`'s command bar.
    void saveChanges(CategoryListPane* pane, bool orderChanged);

    CategoryListPane* m_assetPane = nullptr;
    CategoryListPane* m_liabilityPane = nullptr;
    std::shared_ptr<MVX_Category> m_deleteAssetCategory;
    std::shared_ptr<MVX_Category> m_deleteLiabilityCategory;
    QPointer<PKPopoverController> m_askDeletePopover;
    QPointer<PKPopoverController> m_editCategoryPopover;
    QPointer<PKPopoverController> m_categoryLogPopover;
    MessagePopover* m_messages = nullptr;
};
