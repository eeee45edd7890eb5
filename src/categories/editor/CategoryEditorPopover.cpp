#include "categories/editor/CategoryEditorPopover.h"

#include "categories/editor/EditCategoryViewController.h"

#include "uikit/popover/PKPopoverController.h"

PKPopoverController* newCategoryEditorPopover(
    std::shared_ptr<MVX_Category> category, bool isAsset, QObject* parent)
{
    auto* editor = new EditCategoryViewController;
    auto* popover = new PKPopoverController(editor, parent);
    popover->setDefaultProperties_ItemEdit();
    popover->setWillShowBlock([category = std::move(category), isAsset](PKPopoverController* shown) {
        if (EditCategoryViewController* const editor = categoryEditorOf(shown)) {
            editor->setIsAssetCategory(isAsset);
            editor->setCategory(category);
            editor->setValues();
        }
    });
    QObject::connect(
        editor, &EditCategoryViewController::closeRequested, popover, &PKPopoverController::close);
    return popover;
}

EditCategoryViewController* categoryEditorOf(const PKPopoverController* popover)
{
    return popover ? qobject_cast<EditCategoryViewController*>(popover->contentViewController()) : nullptr;
}
