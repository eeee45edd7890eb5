// Opening the record editor and the no-categories warning.
#include "records/list/TableBaseViewController.h"

#include "app/alerts/NoCategoriesWarningViewController.h"
#include "model/store/NWData.h"
#include "records/editor/RecordEditorPopover.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/window/TBWindowButton.h"

namespace {

bool haveCategories()
{
    const auto& model = NWData::shared()->appData();
    return model
        && ((model->assetscat() && !model->assetscat()->isEmpty())
            || (model->liabilitycat() && !model->liabilitycat()->isEmpty()));
}

} // namespace

void TableBaseViewController::addNewRecordClickHandler()
{
    if (!haveCategories()) {
        if (PKPopoverController::dropPopover(m_categoryWarningPopover))
            return;
        auto* warning = new NoCategoriesWarningViewController;
        m_categoryWarningPopover = new PKPopoverController(warning, this);
        m_categoryWarningPopover->setDefaultProperties_ItemWarning();
        connect(warning, &NoCategoriesWarningViewController::closeRequested, m_categoryWarningPopover,
            &PKPopoverController::closePopover);
        m_categoryWarningPopover->showRelativeToRect(
            QRectF(m_addButton->rect()), m_addButton, platform::RectEdge::MinY);
        return;
    }
    if (PKPopoverController::dropPopover(m_editRecordPopover))
        return;
    m_editRecordPopover = newRecordEditorPopover(nullptr, this);
    m_editRecordPopover->showRelativeToRect(
        QRectF(m_addButton->rect()), m_addButton, platform::RectEdge::MinY);
}

void TableBaseViewController::editTheNWLogRecord(const std::shared_ptr<MVX_NWLog>& record)
{
    if (!record)
        return;
    if (PKPopoverController::dropPopover(m_editRecordPopover))
        return;
    m_editRecordPopover = newRecordEditorPopover(record, this);
    m_editRecordPopover->showRelativeToRect(
        QRectF(m_editButton->rect()), m_editButton, platform::RectEdge::MinY);
}
