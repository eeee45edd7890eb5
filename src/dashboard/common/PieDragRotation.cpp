#include "dashboard/common/PieDragRotation.h"

#include "platform/SaneGeometry.h"

#include <cmath>
#include <numbers>

using namespace Qt::Literals::StringLiterals;

QPointF PieDragRotation::pieCentre(const QSizeF& plotAreaSize, const QPointF& centerAnchor)
{
    const QSizeF size = platform::saneSize(plotAreaSize);
    const QPointF anchor = platform::sanePoint(centerAnchor);
    return platform::sanePoint(QPointF(size.width() * anchor.x(), size.height() * anchor.y()));
}

double PieDragRotation::angleAbout(const QPointF& centre, const QPointF& point)
{
    const QPointF from = platform::sanePoint(centre);
    const QPointF to = platform::sanePoint(point);
    return std::atan2(to.y() - from.y(), to.x() - from.x());
}

double PieDragRotation::radiansFromDegrees(double degrees)
{
    return degrees / 180.0 * std::numbers::pi;
}

void PieDragRotation::mouseMoved(const QPointF& point)
{
    m_lastMousePosition = point;
}

void PieDragRotation::mouseDown(const QPointF& point, const QPointF& centre)
{
    m_lastMousePosition = point;
    m_lastAngle = angleAbout(centre, point);
}

double PieDragRotation::mouseDragged(const QPointF& point, const QPointF& centre)
{
    m_lastMousePosition = point;
    const double angle = angleAbout(centre, point);
    double swept = angle - m_lastAngle;
    // Crossing the negative x axis jumps by a full turn; the pointer did not.
    if (swept > std::numbers::pi)
        swept -= 2.0 * std::numbers::pi;
    else if (swept < -std::numbers::pi)
        swept += 2.0 * std::numbers::pi;
    m_lastAngle = angle;
    return swept;
}

double PieDragRotation::handle(const QString& type, const QPointF& point, const QPointF& centre)
{
    if (type == u"mouseMoved")
        mouseMoved(point);
    else if (type == u"mouseDown")
        mouseDown(point, centre);
    else if (type == u"mouseDragged")
        return mouseDragged(point, centre);
    return 0.0;
}
