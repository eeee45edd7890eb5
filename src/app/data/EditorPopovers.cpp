#include "app/data/EditorPopovers.h"

#include "uikit/popover/PKPopoverController.h"

#include <QPointer>
#include <QWidget>

void closeEditorPopovers(const QList<const PKPopoverController*>& keep)
{
    // Closing one may close or delete another (a picker inside its editor).
    for (const QPointer<PKPopoverController> popover : PKPopoverController::shownPopovers())
        if (popover && popover->shown() && !keep.contains(popover.data()))
            popover->forceClosePopover();
}

const PKPopoverController* enclosingShownPopover(const QWidget* widget)
{
    for (const PKPopoverController* popover : PKPopoverController::shownPopovers()) {
        const QWidget* content = popover->contentViewController();
        if (content && (content == widget || content->isAncestorOf(widget)))
            return popover;
    }
    return nullptr;
}
