#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>

/// Turning a pie by dragging, from the "RedavidMouseHit" events of its own graph host. Points
/// are the events' plot-area points (y up, origin at the plot area's bottom left); angles are
/// radians, counter-clockwise positive, as the pie's start angle. Pure state, no widgets.
class PieDragRotation {
public:
    /// The pie's centre in plot-area coordinates: its centre anchor (fractions from the bottom
    /// left) times the plot area's size.
    static QPointF pieCentre(const QSizeF& plotAreaSize, const QPointF& centerAnchor);
    /// The angle of `point` about `centre`.
    static double angleAbout(const QPointF& centre, const QPointF& point);
    /// A rotate gesture's degrees as radians.
    static double radiansFromDegrees(double degrees);

    /// "mouseMoved": only the last mouse point changes.
    void mouseMoved(const QPointF& point);
    /// "mouseDown": remembers the point and its angle.
    void mouseDown(const QPointF& point, const QPointF& centre);
    /// "mouseDragged": the angle the pointer swept since the last press or drag, which the caller
    /// adds to the dragged pie's start angle; the new angle becomes the last one.
    double mouseDragged(const QPointF& point, const QPointF& centre);

    /// Applies one "RedavidMouseHit" event ("type" mouseMoved, mouseDown, mouseDragged or
    /// mouseUp) and returns the angle to add to the dragged pie (0 for every other type).
    double handle(const QString& type, const QPointF& point, const QPointF& centre);

    QPointF lastMousePosition() const { return m_lastMousePosition; }
    double lastAngle() const { return m_lastAngle; }

private:
    QPointF m_lastMousePosition;
    double m_lastAngle = 0.0;
};
