#include "categories/filter/TagFilterPopover.h"

#include "categories/filter/TagsFilterController.h"

#include "uikit/popover/PKPopoverController.h"

PKPopoverController* newTagFilterPopover(QObject* parent)
{
    auto* popover = new PKPopoverController(new TagsFilterController, parent);
    popover->setDefaultProperties_ItemWarning();
    return popover;
}

TagsFilterController* tagFilterOf(const PKPopoverController* popover)
{
    return popover ? qobject_cast<TagsFilterController*>(popover->contentViewController()) : nullptr;
}
