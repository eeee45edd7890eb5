#include "dashboard/common/BigPieChartView.h"

#include "dashboard/common/DashboardNotifications.h"
#include "platform/NotificationCenter.h"

#include <QResizeEvent>

namespace {

void postResized()
{
    platform::NotificationCenter::defaultCenter().post(notifications::bigPieChartViewResized);
}

} // namespace

BigPieChartView::BigPieChartView(QWidget* parent) : NWColoredRotationView(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] { viewDidEndLiveResize(); });
}

void BigPieChartView::paintEvent(QPaintEvent* event)
{
    NWColoredRotationView::paintEvent(event);
    if (m_initialDraw) {
        m_initialDraw = false;
        postResized();
    }
}

void BigPieChartView::resizeEvent(QResizeEvent* event)
{
    NWColoredRotationView::resizeEvent(event);
    // Sizes given before the first drawing are no live resize; the first drawing reports them.
    if (m_initialDraw)
        return;
    postResized();
    m_settle.start();
}

void BigPieChartView::viewDidEndLiveResize()
{
    postResized();
}
