#pragma once

#include "charts/kit/PlotRange.h"

#include <QList>
#include <QString>

#include <limits>

namespace chart {
class Axis;
class Graph;
struct TextStyle;
} // namespace chart

/// The amount labels of the bar charts' value axes (the annual chart, the dashboard's year-end
/// bars): one rule for where they stand and what they say.
namespace ValueAxisLabels {

/// The label interval for a top value: the leading digit of ⌊top / 5⌋ times its power of ten
/// (123456 gives 20000, 1e20 gives 2e19); 0 below 5 and for tops that are not finite.
double labelInterval(double top);

/// The label interval for bars from `bottom` (never above 0) to `top`: `labelInterval(top)`,
/// or, when that gives none and bars stand below 0, the same rule applied to the depth below 0,
/// so that a chart of losses gets its labels too.
double labelInterval(double top, double bottom);

/// The multiples of `interval` from one interval up to `headroom` × top (at most the largest
/// double), then, when `bottom` is below 0, from one interval down to it; never 0 and always
/// finite. Where one side would hold more than about 20 multiples only every so many get a
/// label, so that a screenful is made whatever the values and the interval. None for an
/// interval of 0.
QList<double> labels(double top, double bottom, double interval, double headroom);

/// The value range from `factor` × `lower` to `factor` × `upper` (lower ≤ upper, both finite),
/// narrowed about 0 by as much as it takes to keep its ends and length finite doubles: values
/// near the largest double then reach past its ends.
chart::PlotRange valueRange(double lower, double upper, double factor);

/// A label's text: the base currency without fraction digits, negatives in parentheses.
QString text(double value);

/// How far the value axis stands into the plot area: its labels, left of it, start at the
/// area's left edge, before the first bar.
inline constexpr double axisInset = 25.0;

/// The bar charts' value axis: no line and no ticks, a faint grid, labels 20 points left of it
/// with a light shadow (none on a dark background), `axisInset` into the plot area.
void styleAxis(chart::Axis& axis, const chart::TextStyle& titleStyle, const chart::TextStyle& labelStyle);

/// Puts the labels on `graph`'s value axis, each at its value, left of the axis and
/// bottom-aligned; they are its major ticks, and it has no minor ones. A chart that draws its
/// values divided by `scale` (a power of two, for values whose sums no double holds) gives the
/// labels in those units; each reads its amount, `value / scale`, and one whose amount is no
/// finite number is left out. A text wider than a third of the plot area (or than 28
/// characters, when that is more) or than the graph leaves it, or one that would end past
/// `mostEnd` points from the plot area's left edge, keeps its start and is elided at its end.
/// Of the multiples of `interval` only every k-th keeps its label, with the smallest k that
/// keeps the labels apart at the graph's size; a label that would stand over a label of the
/// other axis or outside the graph is left out. A graph without a size yet takes them all,
/// whole. Call after the value range and the other axis's labels are set, and again when the
/// graph's size changes.
void apply(chart::Graph& graph, const QList<double>& labels, double interval, double scale = 1.0,
    double mostEnd = std::numeric_limits<double>::infinity());

/// Where the labels of `labels` end on `graph`'s value axis (styled by `styleAxis`), in points
/// from the plot area's left edge: the widest text as `apply` fits it (within `mostEnd`) from
/// where they start, and never before the axis's own labelling room.
double labelsEnd(const chart::Graph& graph, const QList<double>& labels, double scale = 1.0,
    double mostEnd = std::numeric_limits<double>::infinity());

/// `range` (of the bar locations) widened to the left where needed so that, over a plot area
/// `plotWidth` points wide, `edge` (the first bar's left edge) stands at least `clearLeft` points
/// in from its left edge, where the value labels stand. Without a usable width, `range` alone.
chart::PlotRange clearOfLabels(
    const chart::PlotRange& range, double edge, double clearLeft, double plotWidth);

/// How far below the axis at 0 the labels under the bars stand: the axis's tick length and,
/// when bars hang below 0, down to the plot area's lower edge, so that the labels stand in
/// one row under the lowest bar instead of over the bars. Depends on the graph's size and
/// value range.
double barLabelOffset(const chart::Graph& graph, bool barsBelowZero);

/// Moves the labels under the bars, already on `graph`'s other axis, to `barLabelOffset`, then
/// puts the amount labels on as `apply` does.
void applyUnderBars(chart::Graph& graph, bool barsBelowZero, const QList<double>& labels, double interval,
    double scale = 1.0, double mostEnd = std::numeric_limits<double>::infinity());

} // namespace ValueAxisLabels
