#include "uikit/window/TBAppWindow.h"

#include "uikit/window/TBClassicWindow.h"
#include "uikit/window/TBDefensiveWindow.h"

bool TBAppWindow::isYosemiteOrGreater()
{
    static const bool modern = true;
    return modern;
}

std::unique_ptr<TBAppWindow> TBAppWindow::create(QWidget* parent)
{
    return create(isYosemiteOrGreater(), parent);
}

std::unique_ptr<TBAppWindow> TBAppWindow::create(bool modern, QWidget* parent)
{
    if (modern)
        return std::make_unique<TBDefensiveWindow>(parent);
    return std::make_unique<TBClassicWindow>(parent);
}
