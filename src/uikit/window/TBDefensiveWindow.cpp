#include "uikit/window/TBDefensiveWindow.h"

TBDefensiveWindow::TBDefensiveWindow(QWidget* parent) : TBWindow(parent)
{
}
