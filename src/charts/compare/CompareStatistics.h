#pragma once

#include "charts/kit/PlotRange.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

/// The national statistics the comparison screen sets the user's net worth against, and the
/// eight bar charts made from them: what each chart shows, and the numbers of its bars and value
/// axis. Pure functions; no widgets.
namespace CompareStatistics {

/// The four pairs of charts, each pair with one exchange-rate field.
enum class Group { Country, Age, Percentile, Education };
enum class Measure { Average, Median };

/// One slot of a group's table: the short label under the bar, the long name (countries only;
/// empty elsewhere) and the two statistics in US dollars. Slot 0 is the user's own bar.
struct Slot {
    const char* label;
    const char* name;
    double average;
    double median;
};

/// The slots of a group, slot 0 first.
const QList<Slot>& statisticsTable(Group group);

/// One chart: which table it draws, its title and its plot's identifier.
struct Chart {
    Group group;
    Measure measure;
    const char* title;
    const char* identifier;
};
inline constexpr int chartCount = 8;
/// What the charts draw with: a net worth within plus or minus 1e15 (NaN counts as 0) and a
/// rate within 0 and 1e6 (NaN counts as 1); nothing beyond either has a bar to show.
double saneNetWorth(double netWorth);
double saneExchangeRate(double rate);

/// The eight charts, average before median, in the order country, age, percentile, education.
const std::array<Chart, chartCount>& charts();

/// The bar of `slot`: the user's net worth, unconverted, for slot 0; otherwise the statistic
/// times `exchangeRate`. None beyond the table.
std::optional<double> barValue(const Chart& chart, int slot, double myNetWorth, double exchangeRate);
/// The texts under the bars, slot 0 first.
QStringList labels(Group group);
/// The caption of a clicked bar's value popup (translated).
QString caption(Group group, int slot);

/// The value axis of a chart whose bars run from `bottom` (never above 0) to `top`: labels at
/// every multiple of the step (the leading digit of a quarter of `top` times its power of ten)
/// up to 1.1 x `top` (at most 64 of them), and the visible range, which leaves a fifth of room
/// below and above and stays finite for any finite values.
struct ValueAxis {
    double step = 0.0;
    QList<double> labels;
    chart::PlotRange range;
};
ValueAxis valueAxis(double top, double bottom);

} // namespace CompareStatistics
