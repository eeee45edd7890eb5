#include "dashboard/totals/TotalsLine.h"

#include "charts/history/settings/HistoryChartSettings.h"
#include "model/format/NWCurrencyFormatter.h"
#include "platform/Fonts.h"
#include "uikit/extensions/ColorHex.h"

#include <QFontMetricsF>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace TotalsLine {

namespace {

// The steps of the fit, as the single-precision size gives them.
constexpr float kFontStep = 0.1f;
const QString kGap = u"   "_s;

QColor hex(const char16_t* text)
{
    return ColorHex::colorFromHex(QStringView(text));
}

// The colours on the window: the design's in dark; in light, where they met the light grey at
// 1.6 to 3.7:1, darkened in their hues to 4.8:1, as the line shrinks below 18 points when
// room is short. The dark grey of the labels is lightened to 4.8:1 in dark.
Run label(const QString& text, bool dark)
{
    return Run { text, Run::Kind::Label, hex(dark ? u"9F9F9FFF" : u"666666FF") };
}

Run value(const QString& text, const char16_t* color)
{
    return Run { text, Run::Kind::Value, hex(color) };
}

Run gap()
{
    return Run { kGap, Run::Kind::Gap, QColor() };
}

} // namespace

QList<Run> runs(double assets, double liabilities, std::optional<double> goal, bool dark)
{
    const NWCurrencyFormatter formatter(0, NWCurrencyFormatter::parenthesesNegativeFormat());
    const double netWorth = assets - liabilities;
    QList<Run> line { label(u"Net worth:  "_s, dark),
        value(formatter.stringFromNumber(netWorth), dark ? u"54CCFFFF" : u"006D9BFF"), gap(),
        label(u"Assets:  "_s, dark),
        value(formatter.stringFromNumber(assets), dark ? u"89BB43FF" : u"516E28FF"), gap(),
        label(u"Liabilities:  "_s, dark),
        value(formatter.stringFromNumber(liabilities), dark ? u"FF8A85FF" : u"CF0900FF") };
    if (goal && std::isfinite(*goal) && *goal > 0.0) {
        line.append(gap());
        line.append(label(u"Distance from your goal:  "_s, dark));
        line.append(value(formatter.stringFromNumber(*goal - netWorth), dark ? u"E9AE50FF" : u"8B5C12FF"));
    }
    return line;
}

QString text(const QList<Run>& runs)
{
    QString result;
    for (const Run& run : runs)
        result += run.text;
    return result;
}

QFont font(Run::Kind kind, double size)
{
    QFont result;
    if (kind != Run::Kind::Gap) {
        result.setFamilies(platform::designFontFamilies());
        result.setWeight(kind == Run::Kind::Label ? QFont::Thin : QFont::Bold);
    }
    result.setPointSizeF(size);
    return result;
}

double width(const QList<Run>& runs, double size)
{
    double total = 0.0;
    for (const Run& run : runs)
        total += QFontMetricsF(font(run.kind, size)).horizontalAdvance(run.text);
    return total;
}

float fittedFontSize(const std::function<double(float size)>& measure, double available)
{
    float size = largestFontSize;
    if (!std::isfinite(available))
        return size;
    float tried = size;
    while (size >= smallestFontSize) {
        tried = size;
        if (!(measure(size) > available))
            return size;
        size = float(double(size) - double(kFontStep));
    }
    return tried;
}

double goalAmount(std::optional<double> modelGoal)
{
    return HistoryChartSettings::goal(modelGoal).value_or(0.0);
}

std::optional<double> shownGoal(bool withGoal, std::optional<double> modelGoal)
{
    if (!withGoal || !HistoryChartSettings::showGoal())
        return std::nullopt;
    const double goal = goalAmount(modelGoal);
    if (!std::isfinite(goal) || goal <= 0.0)
        return std::nullopt;
    return goal;
}

} // namespace TotalsLine
