#include "dashboard/totals/TotalsLine.h"

#include "charts/history/settings/HistoryChartSettings.h"
#include "model/format/NWCurrencyFormatter.h"
#include "platform/Fonts.h"
#include "uikit/extensions/ColorHex.h"

#include <QFontMetricsF>

#include <algorithm>
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

// The design's grey reads only at 3:1 on either window, so each appearance has its own.
Run label(const QString& text, bool dark)
{
    return Run { text, Run::Kind::Label, hex(dark ? u"A9A9A9FF" : u"5D5D5DFF") };
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
    // The pale amounts read on the dark window; on the light one (and on paper) the same hues,
    // darker, reach 5.5:1, a margin for the glyphs' smoothed edges when the line shrinks.
    QList<Run> line { label(u"Net worth:  "_s, dark),
        value(formatter.stringFromNumber(netWorth), dark ? u"54CCFFFF" : u"00648FFF"), gap(),
        label(u"Assets:  "_s, dark),
        value(formatter.stringFromNumber(assets), dark ? u"89BB43FF" : u"4A6524FF"), gap(),
        label(u"Liabilities:  "_s, dark),
        value(formatter.stringFromNumber(liabilities), dark ? u"FF8A85FF" : u"BD0800FF") };
    if (goal && std::isfinite(*goal) && *goal > 0.0) {
        line.append(gap());
        line.append(label(u"Distance from your goal:  "_s, dark));
        line.append(value(formatter.stringFromNumber(*goal - netWorth), dark ? u"E9AE50FF" : u"7E5410FF"));
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

QList<Run> elided(const QList<Run>& runs, double size, double available)
{
    if (!(width(runs, size) > available))
        return runs;
    // The labels and gaps keep their width and the amounts share the rest, an amount narrower
    // than its share leaving what it does not need to the others, so that each keeps its start.
    QList<double> advances;
    QList<qsizetype> wide;
    double room = available;
    for (qsizetype i = 0; i < runs.size(); ++i) {
        advances.append(QFontMetricsF(font(runs[i].kind, size)).horizontalAdvance(runs[i].text));
        if (runs[i].kind == Run::Kind::Value)
            wide.append(i);
        else
            room -= advances[i];
    }
    for (qsizetype before = -1; before != wide.size() && !wide.isEmpty();) {
        before = wide.size();
        const double share = room / double(wide.size());
        wide.removeIf([&](qsizetype i) {
            const bool fits = advances[i] <= share;
            if (fits)
                room -= advances[i];
            return fits;
        });
    }
    QList<Run> shown = runs;
    const double share = wide.isEmpty() ? 0.0 : room / double(wide.size());
    bool startsKept = true;
    for (const qsizetype i : wide) {
        shown[i].text
            = QFontMetricsF(font(Run::Kind::Value, size)).elidedText(runs[i].text, Qt::ElideRight, share);
        startsKept = startsKept
            && std::any_of(shown[i].text.cbegin(), shown[i].text.cend(), [](QChar c) { return c.isDigit(); });
    }
    if (startsKept)
        return shown;
    // Too narrow for a start of every amount: the line keeps its own start.
    shown.clear();
    double used = 0.0;
    for (qsizetype i = 0; i < runs.size(); ++i) {
        if (used + advances[i] <= available) {
            shown.append(runs[i]);
            used += advances[i];
            continue;
        }
        Run cut = runs[i];
        cut.text = QFontMetricsF(font(runs[i].kind, size))
                       .elidedText(runs[i].text, Qt::ElideRight, available - used);
        if (!cut.text.isEmpty())
            shown.append(cut);
        break;
    }
    return shown;
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
