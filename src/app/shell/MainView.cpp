#include "app/shell/MainView.h"

MainView::MainView(QWidget* parent) : QWidget(parent)
{
}

void MainView::setSidebar(QWidget* sidebar, int sidebarWidth)
{
    sidebar->setParent(this);
    m_sidebar = sidebar;
    m_screenLeft = sidebarWidth;
    layoutViews();
    sidebar->show();
}

void MainView::replaceSubview(MainView* container, QWidget* oldView, QWidget* newView)
{
    if (!container || !oldView || !newView || oldView == newView)
        return;
    if (newView->parentWidget() != container)
        newView->setParent(container);
    oldView->hide();
    container->m_shown = newView;
    container->layoutViews();
    newView->show();
    newView->raise();
}

void MainView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutViews();
}

void MainView::layoutViews()
{
    if (m_sidebar)
        m_sidebar->setGeometry(0, 0, m_screenLeft, height());
    // The screen's edges follow the container's: left at the sidebar, the others at 0.
    if (m_shown)
        m_shown->setGeometry(m_screenLeft, 0, std::max(width() - m_screenLeft, 0), height());
}
