#pragma once

#include <QString>

/// The pie settings with their types, fallbacks and ranges, over the standard user defaults.
/// Nothing is registered: each reader applies the fallback. Segment choices are written as
/// floating-point numbers and read back as integers; every setter writes its key and
/// synchronises the user defaults, so a notification posted after it finds the new value.
/// Main thread only.
namespace PieChartSettings {

inline const QString pieDisplayTypeKey = QStringLiteral("PieDisplayType");
inline const QString pieLabelTypeKey = QStringLiteral("PieLabelType");
inline const QString nameInLabelKey = QStringLiteral("NameInLabel");
inline const QString chartColorSchemeKey = QStringLiteral("ChartColorScheme");
inline const QString bigPieLabelTypeKey = QStringLiteral("PieLabelType2");

/// What the dashboard pie shows ("PieDisplayType": absent or out of 0..2 is 0).
enum class PieDisplayType { NetWorth = 0, AssetCategories = 1, LiabilityCategories = 2 };
/// What a category slice's label says ("PieLabelType" for the dashboard, "PieLabelType2" for
/// the full-window pies: absent or out of 0..2 is 1).
enum class PieLabelType { None = 0, Amount = 1, Percentage = 2 };
/// The colour control's segments ("ChartColorScheme": absent or 0 is the shades).
enum class ColorScheme { Shades = 0, MultiColor = 1 };

PieDisplayType pieDisplayType();
void setPieDisplayType(PieDisplayType type);
PieLabelType pieLabelType();
void setPieLabelType(PieLabelType type);
/// "NameInLabel": absent is true.
bool nameInLabel();
void setNameInLabel(bool show);
ColorScheme colorScheme();
void setColorScheme(ColorScheme scheme);
/// The green-and-red shades are in force (the colour scheme is not the multi-colour one).
bool greenOrRedShadeColorScheme();
PieLabelType bigPieLabelType();
void setBigPieLabelType(PieLabelType type);

/// A stored segment index brought into a control's range: anything outside 0..2 gives the
/// fallback (the stored value may have been written by another version).
PieDisplayType displayTypeFromIndex(qint64 index);
PieLabelType labelTypeFromIndex(qint64 index);

} // namespace PieChartSettings
