#include "charts/common/RedavidGraphHost.h"

#include "charts/common/ChartNotifications.h"
#include "platform/NotificationCenter.h"
#include "uikit/popover/PKPopoverController.h"

#include <QMouseEvent>

using namespace Qt::Literals::StringLiterals;

namespace {

int buttonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::NoButton:
    case Qt::LeftButton:
        return 0;
    case Qt::RightButton:
        return 1;
    default:
        return 2;
    }
}

// The button a drag is made with: the lowest one held.
Qt::MouseButton heldButton(Qt::MouseButtons buttons)
{
    for (const Qt::MouseButton button : { Qt::LeftButton, Qt::RightButton, Qt::MiddleButton })
        if (buttons.testFlag(button))
            return button;
    return buttons == Qt::NoButton ? Qt::NoButton : Qt::MiddleButton;
}

} // namespace

RedavidGraphHost::RedavidGraphHost(QWidget* parent) : chart::GraphHostingView(parent)
{
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
}

void RedavidGraphHost::mousePressEvent(QMouseEvent* event)
{
    chart::GraphHostingView::mousePressEvent(event);
    sendMouseNotification(event->position(), u"mouseDown"_s, event->button());
}

void RedavidGraphHost::mouseMoveEvent(QMouseEvent* event)
{
    chart::GraphHostingView::mouseMoveEvent(event);
    if (event->buttons() != Qt::NoButton) {
        sendMouseNotification(event->position(), u"mouseDragged"_s, heldButton(event->buttons()));
        return;
    }
    // The tracking area: plain moves count over the plot-area frame while the application is active.
    if (!PKPopoverController::isApplicationActive() || !plotAreaFrameRectInView().contains(event->position()))
        return;
    sendMouseNotification(event->position(), u"mouseMoved"_s, Qt::NoButton);
}

void RedavidGraphHost::mouseReleaseEvent(QMouseEvent* event)
{
    chart::GraphHostingView::mouseReleaseEvent(event);
    sendMouseNotification(event->position(), u"mouseUp"_s, event->button());
}

void RedavidGraphHost::sendMouseNotification(
    const QPointF& viewPoint, const QString& type, Qt::MouseButton button)
{
    const QPointF point = plotAreaPointFromView(viewPoint);
    const QVariantMap userInfo {
        { notifications::mouseHitTypeKey, type },
        { notifications::mouseHitXKey, point.x() },
        { notifications::mouseHitYKey, point.y() },
        { notifications::mouseHitButtonKey, buttonNumber(button) },
    };
    platform::NotificationCenter::defaultCenter().post(
        notifications::redavidMouseHit, QVariant::fromValue<QObject*>(this), userInfo);
}
