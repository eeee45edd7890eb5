#include "dashboard/common/NWColoredRotationView.h"

#include "dashboard/common/DashboardNotifications.h"
#include "platform/NotificationCenter.h"

#include <QNativeGestureEvent>

bool postPieRotationGesture(QEvent* event, const QString& name)
{
    if (event->type() != QEvent::NativeGesture)
        return false;
    auto* gesture = static_cast<QNativeGestureEvent*>(event);
    if (gesture->gestureType() != Qt::RotateNativeGesture)
        return false;
    gesture->accept();
    platform::NotificationCenter::defaultCenter().post(name, double(float(gesture->value())));
    return true;
}

NWColoredRotationView::NWColoredRotationView(QWidget* parent) : QWidget(parent)
{
}

bool NWColoredRotationView::event(QEvent* event)
{
    return postPieRotationGesture(event, notifications::pieRotation) || QWidget::event(event);
}
