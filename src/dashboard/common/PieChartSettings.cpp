#include "dashboard/common/PieChartSettings.h"

#include "platform/UserDefaults.h"

namespace PieChartSettings {

namespace {

platform::UserDefaults& defaults()
{
    return platform::UserDefaults::standard();
}

void storeSegment(const QString& key, int segment)
{
    defaults().setValueAndSynchronize(key, double(segment));
}

} // namespace

PieDisplayType displayTypeFromIndex(qint64 index)
{
    return index >= 0 && index <= 2 ? static_cast<PieDisplayType>(index) : PieDisplayType::NetWorth;
}

PieLabelType labelTypeFromIndex(qint64 index)
{
    return index >= 0 && index <= 2 ? static_cast<PieLabelType>(index) : PieLabelType::Amount;
}

PieDisplayType pieDisplayType()
{
    return displayTypeFromIndex(defaults().integer(pieDisplayTypeKey, 0));
}

void setPieDisplayType(PieDisplayType type)
{
    storeSegment(pieDisplayTypeKey, static_cast<int>(type));
}

PieLabelType pieLabelType()
{
    return labelTypeFromIndex(defaults().integer(pieLabelTypeKey, 1));
}

void setPieLabelType(PieLabelType type)
{
    storeSegment(pieLabelTypeKey, static_cast<int>(type));
}

bool nameInLabel()
{
    return defaults().boolean(nameInLabelKey, true);
}

void setNameInLabel(bool show)
{
    defaults().setValueAndSynchronize(nameInLabelKey, show);
}

ColorScheme colorScheme()
{
    return defaults().boolean(chartColorSchemeKey, false) ? ColorScheme::MultiColor : ColorScheme::Shades;
}

void setColorScheme(ColorScheme scheme)
{
    storeSegment(chartColorSchemeKey, static_cast<int>(scheme));
}

bool greenOrRedShadeColorScheme()
{
    return colorScheme() == ColorScheme::Shades;
}

PieLabelType bigPieLabelType()
{
    return labelTypeFromIndex(defaults().integer(bigPieLabelTypeKey, 1));
}

void setBigPieLabelType(PieLabelType type)
{
    storeSegment(bigPieLabelTypeKey, static_cast<int>(type));
}

} // namespace PieChartSettings
