#include "dashboard/common/NWColoredRotationViews.h"

#include "dashboard/common/DashboardNotifications.h"
#include "dashboard/common/NWColoredRotationView.h"

NWColoredRotationView_NW::NWColoredRotationView_NW(QWidget* parent) : NWColoredView(parent)
{
}

bool NWColoredRotationView_NW::event(QEvent* event)
{
    return postPieRotationGesture(event, notifications::pieRotationNW) || NWColoredView::event(event);
}

NWColoredRotationView_A::NWColoredRotationView_A(QWidget* parent) : NWColoredView(parent)
{
}

bool NWColoredRotationView_A::event(QEvent* event)
{
    return postPieRotationGesture(event, notifications::pieRotationA) || NWColoredView::event(event);
}

NWColoredRotationView_L::NWColoredRotationView_L(QWidget* parent) : NWColoredView(parent)
{
}

bool NWColoredRotationView_L::event(QEvent* event)
{
    return postPieRotationGesture(event, notifications::pieRotationL) || NWColoredView::event(event);
}
