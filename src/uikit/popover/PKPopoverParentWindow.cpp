#include "uikit/popover/PKPopoverParentWindow.h"

#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QApplication>
#include <QWindow>

PKPopoverParentWindow::PKPopoverParentWindow(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
}

bool PKPopoverParentWindow::isReallyKeyWindow() const
{
    return QApplication::activeWindow() == this;
}

bool PKPopoverParentWindow::isKeyWindow() const
{
    if (isReallyKeyWindow())
        return true;
    const auto* popover = qobject_cast<const PKPopoverWindow*>(QApplication::activeWindow());
    if (!popover || !popover->windowHandle() || !windowHandle()
        || popover->windowHandle()->transientParent() != windowHandle())
        return false;
    return PKPopoverController::isApplicationActive();
}
