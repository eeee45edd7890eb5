#pragma once

#include "charts/kit/PlotRange.h"
#include "dashboard/common/PieChartSettings.h"
#include "model/data/MVX_Model.h"
#include "model/data/MVX_NWLog.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

/// The dashboard's year-end bars as functions of the records, the category lists and the pie's
/// type (0 net worth, 1 asset categories, 2 liability categories): which records are year-ends,
/// the stacks, the year and amount axes. No widgets; main thread.
namespace YearEndBars {

/// Bar slotCount of the dashboard.
inline constexpr int visibleBars = 4;
/// Bar width in slotCount.
inline constexpr double barWidth = 0.7;
/// The largest value before any bar is seen; with no bar it stays and the amounts get no labels.
inline constexpr double noTop = -99999999.0;
/// The identifier of the stack segment that holds the values of categories no longer listed.
inline const QString unknownCategoryIdentifier = QStringLiteral("UNKNOWN_CATEGORY");

/// One visible year-end: its record and its values in the order of the category lists (for each
/// listed category the first of the record's values with its ID), plus the sum of the values
/// whose category is not listed any more.
struct YearEnd {
    std::shared_ptr<MVX_NWLog> record;
    MVX_CategoryLogList assetValues;
    MVX_CategoryLogList liabilityValues;
    double unknownAssets = 0.0;
    double unknownLiabilities = 0.0;
    bool hasUnknownAssets = false;
    bool hasUnknownLiabilities = false;
};

/// Per year the record with the highest month (a later record of the same month does not
/// replace it), ascending by year. Records without a year are left out.
QList<std::shared_ptr<MVX_NWLog>> yearEndRecords(const MVX_NWLogList& records);
/// Index of the first visible year-end: the newest `slotCount` are shown.
int startIndex(qsizetype count, int slotCount);
/// The visible year-ends (oldest first, at most `slotCount`) with their ordered value lists.
QList<YearEnd> visibleYearEnds(const MVX_Model& model, int slotCount = visibleBars);

/// A bar's height: type 1 the record's assets, type 2 its liabilities, else assets − liabilities.
double barValue(const MVX_NWLog& record, int type);

/// The scale the stacks of type 1 (assets) or 2 (liabilities) are drawn at: 1 while the sums of
/// every stack's values stay doubles, else (values near the largest double add up to more than a
/// double holds) the largest power of two at which they stay within half the largest double, so
/// that the stacks show whole. 1 for type 0.
double drawScale(const QList<YearEnd>& shown, int type);

/// One segment of a stacked bar: where it starts and ends (in units of the draw scale), and the
/// category's value (none when the record has no value of that category: a zero-height segment
/// on the base).
struct Segment {
    double base = 0.0;
    double tip = 0.0;
    std::optional<double> value;
};
/// The segment of category `categoryID` (or `unknownCategoryIdentifier`) in `yearEnd`'s stack
/// of type 1 (assets) or 2 (liabilities) at `scale`; with `basesVary` off it stands on 0.
Segment segment(
    const YearEnd& yearEnd, int type, const QString& categoryID, bool basesVary, double scale = 1.0);

/// Every segment of the stacks at once, as `segment` gives each: for the categories
/// `identifiers` (bottom to top; the first stands on 0, every later one on those below it) and
/// each of `shown`'s year-ends, at index category × shown.size() + slot. Linear in the
/// identifiers and the year-ends' values.
QList<Segment> stacks(
    const QList<YearEnd>& shown, int type, const QStringList& identifiers, double scale = 1.0);

/// The year axis and the values' extent at `scale`: one label ("2019") and tick per year-end at
/// its slot, the largest bar value (`noTop` without bars) and the smallest (never above 0). Values
/// that are not finite widen nothing. Stacks drawn at a scale below 1 widen the extent to their
/// ends too, which their records' totals cannot hold.
struct YearAxis {
    QStringList labels;
    QList<double> ticks;
    double top = noTop;
    double bottom = 0.0;
};
YearAxis yearAxis(const QList<YearEnd>& shown, int type, double scale = 1.0);

/// The amount labels' interval T for the largest value: the first digit of ⌊top / 5⌋ followed by
/// zeros (2469 gives 2000); 0 for tops below 5 or not finite.
double labelInterval(double top);
/// The amount labels (their values, also the major ticks) and the visible amount range. Labels
/// stand at the multiples of T (from the top, or from the depth below 0 when every bar is below
/// 5) up to 1.1 × top and down to bottom; far below 0 only every so many multiples get one, so
/// that their number stays small. The range runs from 1.2 × the lower end (bottom when below 0,
/// else −T / 10) to 1.2 × the upper end (top when above 0, else T / 10), so that 0, where the
/// bars stand, is always in view; a range that would be empty or not finite shows 0 to 1.
struct ValueAxis {
    QList<double> labels;
    double interval = 0.0;
    chart::PlotRange range;
};
ValueAxis valueAxis(double top, double bottom);
/// A value label's text: the base currency without fraction digits, negatives in parentheses.
QString valueLabelText(double value);
/// The slotCount' range: the bars of slotCount 0 .. slotCount − 1 with their width, widened by 1.4.
chart::PlotRange slotRange(int slotCount = visibleBars);
/// The same range, widened to the left where needed so that, over a plot area `plotWidth`
/// points wide, the first bar starts at least `clearLeft` points from its left edge (the value
/// labels stand there). Without a usable width, `slotRange` alone.
chart::PlotRange slotRangeClearOf(int slotCount, double clearLeft, double plotWidth);
/// How far from the plot area's left edge the value labels may reach so that, over a plot area
/// `plotWidth` points wide, each of the slots of `slotRangeClearOf` keeps `slotWidth` points (the
/// years under the bars then keep apart); never below 0.
double mostClearLeft(int slotCount, double slotWidth, double plotWidth);

/// The value popup of a clicked bar or segment: texts, colour and the value its arrow points at
/// (a segment's tip at the stacks' `scale`).
/// Type 0: the net worth ("<amount> ") and the year. Types 1 and 2: "<amount> (<percent>)" of
/// the category's value (the percentage of the record's total, or of the stack's sum when that
/// is drawn scaled; "–" when that total is 0) and the category's name cut at 25 characters (30
/// while slice labels show no value); a category without a value in the record gives empty
/// texts at the segment's base.
struct BarPopup {
    QString amount;
    QString caption;
    QColor color;
    double pointValue = 0.0;
};
BarPopup barPopup(const YearEnd& yearEnd, int type, const QString& plotIdentifier, bool basesVary,
    const MVX_Model* model, PieChartSettings::PieLabelType labelStyle, double scale = 1.0);

} // namespace YearEndBars
