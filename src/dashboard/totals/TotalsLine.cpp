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

Run label(const QString& text)
{
    return Run { text, Run::Kind::Label, hex(u"797979FF") };
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

QList<Run> runs(double assets, double liabilities, std::optional<double> goal)
{
    const NWCurrencyFormatter formatter(0, NWCurrencyFormatter::parenthesesNegativeFormat());
    const double netWorth = assets - liabilities;
    QList<Run> line { label(u"Net worth:  "_s), value(formatter.stringFromNumber(netWorth), u"54CCFFFF"),
        gap(), label(u"Assets:  "_s), value(formatter.stringFromNumber(assets), u"89BB43FF"), gap(),
        label(u"Liabilities:  "_s), value(formatter.stringFromNumber(liabilities), u"FF8A85FF") };
    if (goal && std::isfinite(*goal) && *goal > 0.0) {
        line.append(gap());
        line.append(label(u"Distance from your goal:  "_s));
        line.append(value(formatter.stringFromNumber(*goal - netWorth), u"E9AE50FF"));
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
