#include "uikit/window/TBAppWindow.h"

#include "uikit/window/TBClassicWindow.h"
#include "uikit/window/TBDefensiveWindow.h"

#include <QWindow>

bool TBAppWindow::isYosemiteOrGreater()
{
    static const bool modern = true;
    return modern;
}

std::unique_ptr<TBAppWindow> TBAppWindow::create(QWidget* parent)
{
    return create(isYosemiteOrGreater(), parent);
}

namespace {

// A Qt parent would own the window as well and delete it a second time when it goes first:
// the parent is only the window the new one stays above.
void stayAbove(QWidget* window, QWidget* parent)
{
    if (!parent)
        return;
    QWidget* top = parent->window();
    top->winId();
    window->winId();
    if (QWindow* handle = window->windowHandle())
        handle->setTransientParent(top->windowHandle());
}

} // namespace

std::unique_ptr<TBAppWindow> TBAppWindow::create(bool modern, QWidget* parent)
{
    std::unique_ptr<TBAppWindow> made;
    if (modern)
        made = std::make_unique<TBDefensiveWindow>();
    else
        made = std::make_unique<TBClassicWindow>();
    stayAbove(made->widget(), parent);
    return made;
}
