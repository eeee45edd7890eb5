#include "app/shell/DashboardController.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

DashboardController::DashboardController(
    QWidget* tableBaseView, QWidget* totalsView, QWidget* lineChartView, QWidget* parent)
    : QWidget(parent)
{
    m_splitView = new QSplitter(Qt::Horizontal, this);
    m_splitView->setChildrenCollapsible(false);
    m_splitView->setHandleWidth(0);
    m_tableBaseViewController = tableBaseView;
    // The record list is exactly this wide: the divider cannot move and is not drawn.
    tableBaseView->setFixedWidth(recordListWidth);
    m_splitView->addWidget(tableBaseView);
    m_dashboardContentViewController = new DashboardContentViewController(totalsView, lineChartView);
    m_splitView->addWidget(m_dashboardContentViewController);
    m_splitView->setStretchFactor(0, 0);
    m_splitView->setStretchFactor(1, 1);
    m_splitView->handle(1)->setEnabled(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitView);
}

DashboardContentViewController::DashboardContentViewController(
    QWidget* totalsView, QWidget* lineChartView, QWidget* parent)
    : QWidget(parent)
{
    m_hSplitView = new QSplitter(Qt::Vertical, this);
    m_hSplitView->setChildrenCollapsible(false);
    m_totalsVC = totalsView;
    m_lineChartVC = lineChartView;
    m_hSplitView->addWidget(totalsView);
    m_hSplitView->addWidget(lineChartView);
    m_hSplitView->setStretchFactor(0, 0);
    m_hSplitView->setStretchFactor(1, 1);
    connect(m_hSplitView, &QSplitter::splitterMoved, this, &DashboardContentViewController::splitResized);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_hSplitView);
}

void DashboardContentViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_dividerPlaced)
        return;
    m_dividerPlaced = true;
    const int total = std::max(m_hSplitView->height(), totalsHeight + 1);
    m_hSplitView->setSizes({ totalsHeight, total - totalsHeight });
}

void DashboardContentViewController::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Q_EMIT splitResized();
}
