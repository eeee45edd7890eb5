#include "uikit/window/TBBottomBarView.h"

#include "uikit/window/TBClassicWindow.h"

#include <QPainter>

TBBottomBarView::TBBottomBarView(QWidget* parent) : TBWindowBackgroundView(parent)
{
}

void TBBottomBarView::paintEvent(QPaintEvent*)
{
    TBClassicWindow* w = classicWindow();
    QPainter painter(this);
    const QRectF bounds = rect();
    drawWindowBackgroundLayers(
        painter, bounds, TBClassicWindow::kBottomEdge, w && w->showsBottomBarSeparator(), nullptr);
    if (w && w->bottomBarDrawingBlock())
        w->bottomBarDrawingBlock()(painter, w->drawsAsMain(), bounds, TBClassicWindow::kBottomEdge, nullptr);
}
