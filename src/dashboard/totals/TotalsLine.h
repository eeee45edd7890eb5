#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

/// The dashboard's totals line as a function of the newest record and the goal: the coloured
/// runs, their fonts and the size at which they fit. No widgets; main thread (the amounts are
/// formatted in the store's currency).
namespace TotalsLine {

/// A piece of the line drawn in one colour and font.
struct Run {
    enum class Kind { Label, Value, Gap };
    QString text;
    Kind kind = Kind::Gap;
    QColor color; // invalid for a gap: the widget's own text colour
    bool operator==(const Run&) const = default;
};

/// Where the line starts and where it stops trying smaller fonts.
inline constexpr float largestFontSize = 18.0f;
inline constexpr float smallestFontSize = 11.0f;
/// The field's width minus this is the room the line has.
inline constexpr double fieldInset = 14.0;

/// The runs for assets `a` and liabilities `l` (net worth a − l, computed here): "Net worth: ",
/// the net worth, "Assets: ", the assets, "Liabilities: ", the liabilities, and with `goal` a
/// positive finite number also "Distance from your goal: " and goal − net worth. Groups are
/// three blanks apart. Amounts without fraction digits, negatives in parentheses. Each run has
/// the colour that reads on the window of the appearance (`dark` or light).
QList<Run> runs(double assets, double liabilities, std::optional<double> goal, bool dark);
/// The runs' text as one string.
QString text(const QList<Run>& runs);

/// The font of a run at `size` points: labels thin, values bold ("Helvetica Neue", falling back
/// to Liberation Sans), gaps the default font at that size.
QFont font(Run::Kind kind, double size);
/// The width of the runs at `size` points.
double width(const QList<Run>& runs, double size);

/// The font size for the room `available`: 18, then 0.1 smaller (in single precision) until
/// `measure(size)` fits; the last size tried when none down to 11 fits. A room that is not a
/// finite number keeps 18.
float fittedFontSize(const std::function<double(float size)>& measure, double available);

/// The runs as drawn in `available` at `size`: all of them when they fit, else every run with
/// the amounts that do not fit their share of the room elided at their end ("…"), so that each
/// keeps its sign and first digits; where the room holds no digit of some amount, the line from
/// its start up to where the room ends, elided there.
QList<Run> elided(const QList<Run>& runs, double size, double available);

/// The goal the line measures against: the model's goal when it has one (even 0), else the
/// stored goal ("nwGoalAmount" when "NWGoalTypeKey" is 1, else "nwGoalAgeAmount"), else 0.
double goalAmount(std::optional<double> modelGoal);
/// The goal to show: with `withGoal`, "nwShowGoal" on and a goal above 0 (and finite).
std::optional<double> shownGoal(bool withGoal, std::optional<double> modelGoal);

} // namespace TotalsLine
