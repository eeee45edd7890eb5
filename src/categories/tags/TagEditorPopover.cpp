#include "categories/tags/TagEditorPopover.h"

#include "categories/tags/TagEditControl.h"
#include "uikit/popover/PKPopoverController.h"

PKPopoverController* newTagEditorPopover(std::shared_ptr<MVX_Tags> tag, QObject* parent)
{
    auto* editor = new TagEditControl;
    editor->setTagRecord(std::move(tag));
    auto* popover = new PKPopoverController(editor, parent);
    popover->setDefaultProperties_ItemEdit();
    popover->setWillShowBlock([](PKPopoverController* shown) {
        if (TagEditControl* const editor = tagEditorOf(shown))
            editor->setValues();
    });
    QObject::connect(editor, &TagEditControl::closeRequested, popover, &PKPopoverController::close);
    return popover;
}

TagEditControl* tagEditorOf(const PKPopoverController* popover)
{
    return popover ? qobject_cast<TagEditControl*>(popover->contentViewController()) : nullptr;
}
