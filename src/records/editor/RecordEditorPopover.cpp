#include "records/editor/RecordEditorPopover.h"

#include "records/editor/NWEntryViewController.h"

#include "model/store/NWData.h"
#include "uikit/popover/PKPopoverController.h"

PKPopoverController* newRecordEditorPopover(std::shared_ptr<MVX_NWLog> record, QObject* parent)
{
    auto* editor = new NWEntryViewController;
    auto* popover = new PKPopoverController(editor, parent);
    popover->setDefaultProperties_ItemEdit();
    popover->setWillShowBlock([record](PKPopoverController* shown) {
        NWEntryViewController* const editor = recordEditorOf(shown);
        if (!editor)
            return;
        if (!record) {
            const auto model = NWData::shared()->appData();
            editor->setPreviousEntry(model ? model->currentLog() : nullptr);
        }
        editor->setValuesForNWLog(
            record, record ? record->year().value_or(0) : 0, record ? record->month().value_or(0) : 0);
    });
    popover->setWillCloseBlock([](PKPopoverController* closing) {
        if (NWEntryViewController* const editor = recordEditorOf(closing))
            editor->stopObserving();
    });
    QObject::connect(editor, &NWEntryViewController::closeRequested, popover, &PKPopoverController::close);
    return popover;
}

NWEntryViewController* recordEditorOf(const PKPopoverController* popover)
{
    return popover ? qobject_cast<NWEntryViewController*>(popover->contentViewController()) : nullptr;
}
