// The tags screen's commands: the tag editor, the delete and the value history popover.
#include "categories/tags/TagsViewController.h"

#include "app/alerts/MessagePopover.h"
#include "categories/tags/TagEditorPopover.h"
#include "categories/tags/TagsListModels.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "records/history/NWCategoryLogsController.h"
#include "uikit/controls/rows/TableRowHost.h"
#include "uikit/controls/rows/TableRowView.h"
#include "uikit/overlay/SavingOverlay.h"

void TagsViewController::openEditor(
    const std::shared_ptr<MVX_Tags>& tag, const QRectF& anchor, QWidget* view, platform::RectEdge edge)
{
    if (PKPopoverController::dropPopover(m_editCategoryPopover))
        return;
    m_editCategoryPopover = newTagEditorPopover(tag, this);
    m_editCategoryPopover->showRelativeToRect(anchor, view, edge);
}

void TagsViewController::addNewCategoryHandler()
{
    openEditor(nullptr, QRectF(m_addButtonA->rect()), m_addButtonA, platform::RectEdge::MinY);
}

void TagsViewController::categoryEditClickHandler()
{
    const std::shared_ptr<MVX_Tags> tag = getSelectedTagObject();
    if (!tag)
        return;
    openEditor(tag, QRectF(m_editButtonA->rect()), m_editButtonA, platform::RectEdge::MaxY);
}

void TagsViewController::categoryDoubleClickHandler(int row)
{
    const std::shared_ptr<MVX_Tags> tag = m_tagModel->tag(row);
    if (!tag)
        return;
    m_tableViewTag->selectionModel()->select(
        m_tagModel->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    openEditor(tag, QRectF(m_tableViewTag->visualRect(m_tagModel->index(row, 0))), m_tableViewTag->viewport(),
        platform::RectEdge::MaxY);
}

void TagsViewController::deleteCategoryHandler()
{
    m_deletedTagObject = getSelectedTagObject();
    if (!m_deletedTagObject)
        return;
    if (m_askDeletePopover->shown()) {
        m_askDeletePopover->close();
        return;
    }
    m_askDeletePopover->showRelativeToRect(
        QRectF(m_deleteButtonA->rect()), m_deleteButtonA, platform::RectEdge::MinY);
}

void TagsViewController::tagDeleteNotifHandler()
{
    const std::shared_ptr<MVX_Tags> tag = std::exchange(m_deletedTagObject, nullptr);
    if (m_askDeletePopover->shown())
        m_askDeletePopover->close();
    if (!tag || m_deleting)
        return;
    NWData* store = NWData::shared();
    store->deleteTagEverywhere(*tag);
    reloadData();

    m_deleting = true;
    SavingOverlay::saveStore(this, [this](const platform::MaybeError& error) {
        m_deleting = false;
        // After a failure the store has put the tag back and every screen has reloaded.
        if (!error)
            platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
        else
            m_messages->showMessage(platform::localized(saveFailedMessage).arg(*error), m_deleteButtonA,
                false, platform::RectEdge::MinY);
    });
}

void TagsViewController::showCategoryLogs(bool isAsset, int row)
{
    QListView* list = isAsset ? m_tableViewCategoryA : m_tableViewCategoryL;
    TableRowHost* host = isAsset ? m_hostA : m_hostL;
    auto* model = static_cast<CategoryExListModel*>(list->model());
    if (row < 0 || row >= model->rowCount())
        return;
    list->selectionModel()->select(
        model->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (PKPopoverController::dropPopover(m_categoryLogPopover))
        return;
    const std::shared_ptr<MVX_Category> category = model->category(row);
    auto* history = new NWCategoryLogsController;
    m_categoryLogPopover = new PKPopoverController(history, this);
    m_categoryLogPopover->setDefaultProperties_ItemEdit();
    m_categoryLogPopover->setClosesWhenPopoverResignsKey(true);
    m_categoryLogPopover->setWillShowBlock([category, isAsset](PKPopoverController* shown) {
        if (auto* history = qobject_cast<NWCategoryLogsController*>(shown->contentViewController()))
            history->setCategory(category, isAsset);
    });
    QWidget* rowView = host->rowView(row);
    QWidget* anchorView = rowView ? rowView : list->viewport();
    const QRectF anchor = rowView ? QRectF(rowView->rect()) : QRectF(list->visualRect(model->index(row, 0)));
    m_categoryLogPopover->showRelativeToRect(anchor, anchorView, platform::RectEdge::MinX);
}
