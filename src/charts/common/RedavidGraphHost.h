#pragma once

#include "charts/kit/GraphHostingView.h"

/// The hosting view of the pie charts: besides hosting a graph it reports the mouse over
/// its plot area as "RedavidMouseHit" (see ChartNotifications.h), which the pie screens
/// use for drag rotation and to place their value popup.
///
/// Moves are reported only inside the hosted graph's plot-area frame and only while the
/// application is active; every press, drag and release that reaches the view is reported.
/// The notification's object is the host itself, so an observer filters by its own host
/// (`addObserver(..., QVariant::fromValue<QObject*>(host))`) instead of receiving the
/// events of every chart of the application. Observers run before the handler returns.
class RedavidGraphHost : public chart::GraphHostingView {
    Q_OBJECT
public:
    explicit RedavidGraphHost(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void sendMouseNotification(const QPointF& viewPoint, const QString& type, Qt::MouseButton button);
};
