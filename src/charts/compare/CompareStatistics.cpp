#include "charts/compare/CompareStatistics.h"

#include "charts/common/ValueAxisLabels.h"
#include "platform/RoundSteps.h"
#include "platform/SaneGeometry.h"

#include "platform/Strings.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace CompareStatistics {

namespace {

// Personal net worth by country; family net worth by age of the head, by percentile of income
// and by education of the head. US dollars.
const QList<Slot> kCountry {
    { QT_TRANSLATE_NOOP("mervanemac", "You"), QT_TRANSLATE_NOOP("mervanemac", "Your Net Worth"), 0, 0 },
    { "US", QT_TRANSLATE_NOOP("mervanemac", "United States"), 388585, 55876 },
    { "CND", QT_TRANSLATE_NOOP("mervanemac", "Canada"), 259271, 91058 },
    { "AUS", QT_TRANSLATE_NOOP("mervanemac", "Australia"), 402603, 195417 },
    { "CH", QT_TRANSLATE_NOOP("mervanemac", "Switzerland"), 537599, 229059 },
    { "UK", QT_TRANSLATE_NOOP("mervanemac", "United Kingdom"), 278038, 102641 },
    { "CNY", QT_TRANSLATE_NOOP("mervanemac", "China"), 26872, 6689 },
    { "JPN", QT_TRANSLATE_NOOP("mervanemac", "Japan"), 225057, 123724 },
    { "FR", QT_TRANSLATE_NOOP("mervanemac", "France"), 262070, 86156 },
};
const QList<Slot> kAge {
    { QT_TRANSLATE_NOOP("mervanemac", "You"), "", 0, 0 },
    { "< 35", "", 76200, 11100 },
    { "35-44", "", 288700, 59800 },
    { "45-54", "", 727500, 124200 },
    { "55-64", "", 1167400, 187300 },
    { "65-74", "", 1066000, 224100 },
    { "> 75", "", 1067000, 264800 },
};
const QList<Slot> kPercentile {
    { QT_TRANSLATE_NOOP("mervanemac", "You"), "", 0, 0 },
    { "< 20", "", 77500, 7000 },
    { "20-40", "", 120500, 30000 },
    { "40-60", "", 227800, 88600 },
    { "60-80", "", 370700, 170600 },
    { "80-90", "", 800500, 396500 },
    { "90-100", "", 4526600, 1629000 },
};
const QList<Slot> kEducation {
    { QT_TRANSLATE_NOOP("mervanemac", "You"), "", 0, 0 },
    { QT_TRANSLATE_NOOP("mervanemac", "No high school"), "", 157200, 22800 },
    { QT_TRANSLATE_NOOP("mervanemac", "High school"), "", 249600, 67100 },
    { QT_TRANSLATE_NOOP("mervanemac", "Some college"), "", 340600, 66100 },
    { QT_TRANSLATE_NOOP("mervanemac", "College degree"), "", 1511000, 292100 },
};

const std::array<Chart, chartCount> kCharts { {
    { Group::Country, Measure::Average, QT_TRANSLATE_NOOP("mervanemac", "Average personal net worth"),
        "NW_BAR_PLOT" },
    { Group::Country, Measure::Median, QT_TRANSLATE_NOOP("mervanemac", "Median personal net worth"),
        "NW_BAR_PLOT_M" },
    { Group::Age, Measure::Average,
        QT_TRANSLATE_NOOP("mervanemac", "Average family net worth by age of head"), "NW_BAR_PLOT_AGE" },
    { Group::Age, Measure::Median, QT_TRANSLATE_NOOP("mervanemac", "Median family net worth by age of head"),
        "NW_BAR_PLOT_M_AGE" },
    { Group::Percentile, Measure::Average,
        QT_TRANSLATE_NOOP("mervanemac", "Average family net worth by percentile of income"),
        "NW_BAR_PLOT_PERCENTILE" },
    { Group::Percentile, Measure::Median,
        QT_TRANSLATE_NOOP("mervanemac", "Median family net worth by percentile of income"),
        "NW_BAR_PLOT_M_PERCENTILE" },
    { Group::Education, Measure::Average,
        QT_TRANSLATE_NOOP("mervanemac", "Average family net worth by education of head"), "NW_BAR_PLOT_EDU" },
    { Group::Education, Measure::Median,
        QT_TRANSLATE_NOOP("mervanemac", "Median family net worth by education of head"),
        "NW_BAR_PLOT_M_EDU" },
} };

// The step's leading digit times its power of ten, for a quarter of the top cut to a whole number.
double stepFor(double top)
{
    return platform::leadingDigitStep(std::trunc(0.25 * top));
}

} // namespace

const QList<Slot>& statisticsTable(Group group)
{
    switch (group) {
    case Group::Country:
        return kCountry;
    case Group::Age:
        return kAge;
    case Group::Percentile:
        return kPercentile;
    case Group::Education:
        return kEducation;
    }
    return kCountry;
}

const std::array<Chart, chartCount>& charts()
{
    return kCharts;
}

std::optional<double> barValue(const Chart& chart, int slot, double myNetWorth, double exchangeRate)
{
    const QList<Slot>& table = statisticsTable(chart.group);
    if (slot < 0 || slot >= table.size())
        return std::nullopt;
    if (slot == 0)
        return myNetWorth;
    const Slot& row = table[slot];
    return (chart.measure == Measure::Average ? row.average : row.median) * exchangeRate;
}

QStringList labels(Group group)
{
    QStringList result;
    for (const Slot& slot : statisticsTable(group))
        result.append(platform::localized(slot.label));
    return result;
}

QString caption(Group group, int slot)
{
    const QList<Slot>& table = statisticsTable(group);
    if (slot < 0 || slot >= table.size())
        return {};
    const QString label = platform::localized(table[slot].label);
    switch (group) {
    case Group::Country:
        return platform::localized(table[slot].name);
    case Group::Age:
        if (slot == 0)
            return platform::localized(kCountry[0].name);
        return platform::Strings::tr("Age group: %1 years").arg(label);
    case Group::Percentile:
        return platform::Strings::tr("Percentile of income: %1").arg(label);
    case Group::Education:
        return label;
    }
    return label;
}

double saneNetWorth(double netWorth)
{
    return platform::saneValue(netWorth, -1.0e15, 1.0e15);
}

double saneExchangeRate(double rate)
{
    return platform::saneValue(rate, 0.0, 1.0e6, 1.0);
}

ValueAxis valueAxis(double top, double bottom)
{
    ValueAxis axis;
    axis.step = stepFor(top);
    const double half = std::floor(axis.step / 2.0);
    // A step of 1 has no half step to walk by: such a chart gets no labels.
    const double limit = std::min(double(1.1f) * top, std::numeric_limits<double>::max());
    // The step is at least a fortieth of the top; the bound only stops a top near the end of
    // double, where adding the step no longer moves past the limit.
    constexpr qsizetype maximumLabels = 64;
    if (half >= 1.0 && limit >= half && std::isfinite(limit)) {
        for (double t = axis.step; t <= limit && axis.labels.size() < maximumLabels; t += axis.step)
            axis.labels.append(t);
    }
    const double low = bottom < 0.0 ? bottom : -half;
    axis.range = ValueAxisLabels::valueRange(low, top, 1.2);
    return axis;
}

} // namespace CompareStatistics
