#pragma once

// The notification names the dashboard and the pie screens post. Every name is declared here
// and nowhere else; observers and posters use these constants. "PieChartSettingsChange" is the
// model's (ModelNotifications.h), because the category screen posts it too.

#include "model/ModelNotifications.h"

#include <QString>

namespace notifications {

/// Posted by a rotation view on a rotate gesture; the object is the rotation in degrees (a
/// double, counter-clockwise positive). "PieRotation" turns the dashboard pie, the others the
/// full-window net-worth, asset and liability pies.
inline const QString pieRotation = QStringLiteral("PieRotation");
inline const QString pieRotationNW = QStringLiteral("PieRotation_NW");
inline const QString pieRotationA = QStringLiteral("PieRotation_A");
inline const QString pieRotationL = QStringLiteral("PieRotation_L");

/// Posted (no object) by `BigPieChartView` on its first drawing, during a resize and once more
/// when the resize has ended: the full-window pies refit their radii.
inline const QString bigPieChartViewResized = QStringLiteral("BigPieChartViewResized");

/// Posted (no object) by the pie settings popover after it stored a new colour scheme.
inline const QString colorSchemaSettingsChange = QStringLiteral("ColorSchemaSettingsChange");

} // namespace notifications
