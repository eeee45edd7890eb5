#pragma once

#include "model/data/MVX_CategoryEx.h"
#include "model/data/MVX_Tags.h"
#include "uikit/controls/bar/CommandBar.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/window/TBWindowButton.h"

#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QWidget>

#include <memory>

class CategoryExListModel;
class MessagePopover;
class NW_TagBgView;
class TableRowHost;
class TableRowView;
class TagListModel;

/// The sidebar's "Category Tags" screen: the tag list with its command bar (delete, add,
/// edit) and, for the selected tag, the asset and the liability categories that carry it,
/// joined to the tag's row by the background's arrows. It opens the tag editor, asks before
/// deleting a tag, and opens the value history of a category of the detail lists. Every
/// failed save is shown.
class TagsViewController : public QWidget {
    Q_OBJECT
public:
    // Where the lists lie (y-down, from the screen's top and left): the arrows of
    // NW_TagBgView leave the tag list's right edge and end in the first row of each list.
    static constexpr int listTop = 64;
    static constexpr int tagListRight = 421;
    static constexpr int detailLeft = 566;
    static constexpr int detailGap = 27;
    static constexpr int margin = 16;

    /// Shown after a failed save of a delete: "The change could not be saved: %1".
    static constexpr const char* saveFailedMessage
        = QT_TRANSLATE_NOOP("mervanemac", "The change could not be saved: %1");

    explicit TagsViewController(QWidget* parent = nullptr);
    ~TagsViewController() override;

    /// The tag list again from the store, keeping the selected row where the list still has it.
    void reloadData();
    /// Both detail lists again for the selected tag (empty without one).
    void refetchCategories();
    void clearCategories();
    /// The tag of the selected row, or null; `row` gets the row when there is one.
    std::shared_ptr<MVX_Tags> getSelectedTagObject(int* row = nullptr) const;

    // Commands.
    void addNewCategoryHandler();
    void categoryEditClickHandler();
    /// Edits the tag of `row` (selected first), anchored at that row.
    void categoryDoubleClickHandler(int row);
    void deleteCategoryHandler();
    void tagDeleteNotifHandler();
    void reloadTags();
    void nwDataReFetchedHandler();
    /// Opens (or, when open, closes) the value history of a detail list's row.
    void showCategoryLogs(bool isAsset, int row);
    /// The arrows' place from the selected row, the scroll position and the lists.
    void doTheMasterDetailArrowLine();

    QListView* tableViewTag() const { return m_tableViewTag; }
    QListView* tableViewCategoryA() const { return m_tableViewCategoryA; }
    QListView* tableViewCategoryL() const { return m_tableViewCategoryL; }
    NW_TagBgView* backgroundView() const;
    const std::shared_ptr<MVX_Tags>& selectedTagObject() const { return m_selectedTagObject; }
    const QList<std::shared_ptr<MVX_CategoryEx>>& categoryArrayA() const;
    const QList<std::shared_ptr<MVX_CategoryEx>>& categoryArrayL() const;
    bool hasSelectedRecordA() const { return m_hasSelectedRecordA; }
    PKPopoverController* askDeletePopover() const { return m_askDeletePopover; }
    PKPopoverController* editCategoryPopover() const { return m_editCategoryPopover; }
    PKPopoverController* categoryLogPopover() const { return m_categoryLogPopover; }
    MessagePopover* messagePopover() const { return m_messages; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildView();
    void buildCommandBar();
    void layoutSubviews();
    void tableViewSelectionDidChange();
    void openEditor(
        const std::shared_ptr<MVX_Tags>& tag, const QRectF& anchor, QWidget* view, platform::RectEdge edge);
    TableRowView* makeTagRow(int row);
    TableRowView* makeCategoryRow(bool isAsset, int row);
    QListView* makeList(const QString& name, TableRowHost*& host);

    QPointer<NW_TagBgView> m_backgroundView;
    QPointer<QLabel> m_tagCaption;
    QPointer<QLabel> m_assetCaption;
    QPointer<QLabel> m_liabilityCaption;
    QPointer<QListView> m_tableViewTag;
    QPointer<QListView> m_tableViewCategoryA;
    QPointer<QListView> m_tableViewCategoryL;
    TagListModel* m_tagModel = nullptr;
    CategoryExListModel* m_modelA = nullptr;
    CategoryExListModel* m_modelL = nullptr;
    TableRowHost* m_tagHost = nullptr;
    TableRowHost* m_hostA = nullptr;
    TableRowHost* m_hostL = nullptr;
    QPointer<CommandBar> m_buttonViewA;
    QPointer<TBWindowButton> m_deleteButtonA;
    QPointer<TBWindowButton> m_addButtonA;
    QPointer<TBWindowButton> m_editButtonA;
    QPointer<PKPopoverController> m_askDeletePopover;
    QPointer<PKPopoverController> m_editCategoryPopover;
    QPointer<PKPopoverController> m_categoryLogPopover;
    MessagePopover* m_messages = nullptr;
    std::shared_ptr<MVX_Tags> m_deletedTagObject;
    std::shared_ptr<MVX_Tags> m_selectedTagObject;
    bool m_hasSelectedRecordA = false;
    bool m_deleting = false;
    bool m_reloading = false;
};
