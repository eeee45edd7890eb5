#pragma once

// The notification names the charts post. Every name is declared here and
// nowhere else; observers and posters use these constants.

#include <QString>

namespace notifications {

/// Posted by the value popup's info button; the object is an `NWDetailRecordInfo` naming
/// the month whose record should open.
inline const QString showDetails = QStringLiteral("NW_SHOW_DETAILS");

/// Posted by a `RedavidGraphHost` for each mouse move over its plot area and each press, drag
/// and release; the object is the host (a `QObject*`), the user info is described by the
/// `mouseHit...` keys below.
inline const QString redavidMouseHit = QStringLiteral("RedavidMouseHit");
/// "mouseMoved", "mouseDown", "mouseDragged" or "mouseUp".
inline const QString mouseHitTypeKey = QStringLiteral("type");
/// The point in plot-area coordinates (origin at the plot area's bottom left, y up), doubles.
inline const QString mouseHitXKey = QStringLiteral("x");
inline const QString mouseHitYKey = QStringLiteral("y");
/// 0 primary, 1 secondary, 2 middle or any other button (int).
inline const QString mouseHitButtonKey = QStringLiteral("button");

/// Posted by the history chart's settings popover after it wrote its keys; no object (the
/// goal's excepted). "TagFilterChanged" is the categories' (CategoriesNotifications.h).
inline const QString lineChartSettingsChange = QStringLiteral("LineChartSettingsChange");
/// The object is the new goal as a double, or none when only the show-goal switch changed or a
/// suggested goal cannot be worked out.
inline const QString goalSettingsChange = QStringLiteral("GoalSettingsChange");
inline const QString plotSymbol = QStringLiteral("PlotSymbol");
inline const QString areaChart = QStringLiteral("AreaChart");
inline const QString lineWidth = QStringLiteral("LineWidth");

/// Posted by the settings popover (no object) when the annual chart's number of years changed.
inline const QString annualNotificationChanged = QStringLiteral("AnnualNotificationChanged");

} // namespace notifications
