#include "dashboard/common/NWColoredRotationViews.h"

#include "dashboard/common/DashboardNotifications.h"
#include "dashboard/common/NWColoredRotationView.h"

#include <utility>

NWColoredPieRotationView::NWColoredPieRotationView(QString notificationName, QWidget* parent)
    : NWColoredView(parent), m_notificationName(std::move(notificationName))
{
}

bool NWColoredPieRotationView::event(QEvent* event)
{
    return postPieRotationGesture(event, m_notificationName) || NWColoredView::event(event);
}

NWColoredRotationView_NW::NWColoredRotationView_NW(QWidget* parent)
    : NWColoredPieRotationView(notifications::pieRotationNW, parent)
{
}

NWColoredRotationView_A::NWColoredRotationView_A(QWidget* parent)
    : NWColoredPieRotationView(notifications::pieRotationA, parent)
{
}

NWColoredRotationView_L::NWColoredRotationView_L(QWidget* parent)
    : NWColoredPieRotationView(notifications::pieRotationL, parent)
{
}
