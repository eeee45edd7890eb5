#include "app/alerts/PopoverClosing.h"

#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QWidget>

void closeEnclosingPopover(QWidget* content)
{
    if (!content)
        return;
    auto* window = qobject_cast<PKPopoverWindow*>(content->window());
    if (window && window->popoverController())
        window->popoverController()->close();
}

QWidget* enclosingPopoverAnchor(QWidget* content)
{
    auto* window = content ? qobject_cast<PKPopoverWindow*>(content->window()) : nullptr;
    return window && window->popoverController() ? window->popoverController()->positionView() : nullptr;
}
