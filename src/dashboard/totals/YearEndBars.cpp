#include "dashboard/totals/YearEndBars.h"

#include "charts/common/ValueAxisLabels.h"

#include "dashboard/common/PieSlices.h"
#include "model/data/MVX_Category.h"
#include "model/data/MVX_CategoryLog.h"
#include "model/format/NWCurrencyFormatter.h"

#include <QHash>
#include <QMap>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace YearEndBars {

namespace {

constexpr double kLabelHeadroom = 1.1;
constexpr double kRangeFactor = 1.2;
constexpr double kSlotRangeFactor = 1.4;

// Where each listed category's values go: the first list position of every ID, and for each
// entry of the list the position of its ID (an ID listed twice gets its value twice).
struct ListOrder {
    QHash<QString, qsizetype> position;
    QList<qsizetype> entries;
};

ListOrder listOrder(const std::optional<MVX_CategoryList>& categories)
{
    ListOrder order;
    if (!categories)
        return order;
    order.position.reserve(categories->size());
    for (const auto& category : *categories) {
        if (!category)
            continue;
        const auto known = order.position.constFind(category->ID());
        if (known != order.position.cend()) {
            order.entries.append(*known);
        } else {
            order.entries.append(order.position.size());
            order.position.insert(category->ID(), order.position.size());
        }
    }
    return order;
}

// The listed categories' values in list order (the first value of each); what no listed
// category claims is summed.
void orderValues(const ListOrder& order, const std::optional<MVX_CategoryLogList>& values,
    MVX_CategoryLogList& ordered, double& unknown, bool& hasUnknown)
{
    if (!values)
        return;
    QList<const std::shared_ptr<MVX_CategoryLog>*> first(order.position.size(), nullptr);
    for (const auto& value : *values) {
        if (!value)
            continue;
        const auto listed = order.position.constFind(value->categoryID());
        if (listed != order.position.cend()) {
            if (!first[*listed])
                first[*listed] = &value;
            continue;
        }
        const double v = value->value().value_or(0.0);
        if (std::isfinite(v)) {
            unknown += v;
            hasUnknown = true;
        }
    }
    ordered.reserve(order.entries.size());
    for (const qsizetype position : order.entries) {
        if (first[position])
            ordered.append(*first[position]);
    }
}

const MVX_CategoryLogList& valuesOf(const YearEnd& yearEnd, int type)
{
    return type == 1 ? yearEnd.assetValues : yearEnd.liabilityValues;
}

// What stands on top of a stack: the values of categories no longer listed; none without them.
std::optional<double> unknownValue(const YearEnd& yearEnd, int type)
{
    const bool has = type == 1 ? yearEnd.hasUnknownAssets : yearEnd.hasUnknownLiabilities;
    return has ? std::optional(type == 1 ? yearEnd.unknownAssets : yearEnd.unknownLiabilities) : std::nullopt;
}

double unknownOf(const YearEnd& yearEnd, int type)
{
    return unknownValue(yearEnd, type).value_or(0.0);
}

} // namespace

QList<std::shared_ptr<MVX_NWLog>> yearEndRecords(const MVX_NWLogList& records)
{
    QMap<int, std::shared_ptr<MVX_NWLog>> byYear;
    for (const auto& record : records) {
        if (!record || !record->year())
            continue;
        const auto kept = byYear.constFind(*record->year());
        if (kept == byYear.cend() || record->month().value_or(0) > (*kept)->month().value_or(0))
            byYear.insert(*record->year(), record);
    }
    return byYear.values();
}

int startIndex(qsizetype count, int slotCount)
{
    return int(std::max<qsizetype>(0, count - std::max(0, slotCount)));
}

QList<YearEnd> visibleYearEnds(const MVX_Model& model, int slotCount)
{
    const auto all = yearEndRecords(model.nwLogArray().value_or(MVX_NWLogList()));
    const ListOrder assets = listOrder(model.assetscat());
    const ListOrder liabilities = listOrder(model.liabilitycat());
    QList<YearEnd> shown;
    for (qsizetype i = startIndex(all.size(), slotCount); i < all.size(); ++i) {
        YearEnd yearEnd;
        yearEnd.record = all[i];
        orderValues(assets, all[i]->assetLogs(), yearEnd.assetValues, yearEnd.unknownAssets,
            yearEnd.hasUnknownAssets);
        orderValues(liabilities, all[i]->liabilityLogs(), yearEnd.liabilityValues, yearEnd.unknownLiabilities,
            yearEnd.hasUnknownLiabilities);
        shown.append(yearEnd);
    }
    return shown;
}

double barValue(const MVX_NWLog& record, int type)
{
    const double assets = record.assets().value_or(0.0);
    const double liabilities = record.liabilities().value_or(0.0);
    if (type == 1)
        return assets;
    if (type == 2)
        return liabilities;
    return assets - liabilities;
}

double drawScale(const QList<YearEnd>& shown, int type)
{
    if (type != 1 && type != 2)
        return 1.0;
    // Values that are no finite number draw nothing at any scale.
    const auto finite = [](double value) { return std::isfinite(value) ? value : 0.0; };
    // Whether every sum on the way up each stack stays within `limit` (infinity fails).
    const auto sumsWithin = [&](double scale, double limit) {
        for (const YearEnd& yearEnd : shown) {
            double sum = 0.0;
            for (const auto& value : valuesOf(yearEnd, type)) {
                sum += finite(value->value().value_or(0.0)) * scale;
                if (!(std::abs(sum) <= limit))
                    return false;
            }
            if (!(std::abs(sum + finite(unknownOf(yearEnd, type)) * scale) <= limit))
                return false;
        }
        return true;
    };
    constexpr double most = std::numeric_limits<double>::max();
    if (sumsWithin(1.0, most))
        return 1.0;
    // Scaled, the stacks keep half of what a double holds free, so that the value range around
    // them is a double too and they show whole.
    double scale = 0.5;
    while (!sumsWithin(scale, most / 2.0) && scale > std::numeric_limits<double>::min())
        scale /= 2.0;
    return scale;
}

Segment segment(const YearEnd& yearEnd, int type, const QString& categoryID, bool basesVary, double scale)
{
    double base = 0.0;
    Segment result;
    for (const auto& value : valuesOf(yearEnd, type)) {
        if (value->categoryID() == categoryID) {
            result.value = value->value().value_or(0.0);
            break;
        }
        if (basesVary)
            base += value->value().value_or(0.0) * scale;
    }
    if (const std::optional<double> unknown = unknownValue(yearEnd, type);
        categoryID == unknownCategoryIdentifier && unknown)
        result.value = unknown;
    result.base = base;
    result.tip = base + result.value.value_or(0.0) * scale;
    return result;
}

QList<Segment> stacks(const QList<YearEnd>& shown, int type, const QStringList& identifiers, double scale)
{
    const qsizetype count = shown.size();
    QList<Segment> result(identifiers.size() * count);
    for (qsizetype slot = 0; slot < count; ++slot) {
        const YearEnd& yearEnd = shown[slot];
        const MVX_CategoryLogList& values = valuesOf(yearEnd, type);
        // Where each category's first value stands, and the sums below every value, summed in
        // the order `segment` sums them so that both give the same numbers.
        QHash<QString, qsizetype> firstIndex;
        firstIndex.reserve(values.size());
        QList<double> below(values.size() + 1);
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (!firstIndex.contains(values[i]->categoryID()))
                firstIndex.insert(values[i]->categoryID(), i);
            below[i + 1] = below[i] + values[i]->value().value_or(0.0) * scale;
        }
        const std::optional<double> unknown = unknownValue(yearEnd, type);
        for (qsizetype category = 0; category < identifiers.size(); ++category) {
            const QString& id = identifiers[category];
            Segment& piece = result[category * count + slot];
            const auto found = firstIndex.constFind(id);
            if (found != firstIndex.cend())
                piece.value = values[*found]->value().value_or(0.0);
            if (category > 0)
                piece.base = below[found != firstIndex.cend() ? *found : values.size()];
            if (id == unknownCategoryIdentifier && unknown)
                piece.value = unknown;
            piece.tip = piece.base + piece.value.value_or(0.0) * scale;
        }
    }
    return result;
}

YearAxis yearAxis(const QList<YearEnd>& shown, int type, double scale)
{
    YearAxis axis;
    const auto widen = [&axis](double v) {
        if (std::isfinite(v)) {
            axis.top = std::max(axis.top, v);
            axis.bottom = std::min(axis.bottom, v);
        }
    };
    for (qsizetype slot = 0; slot < shown.size(); ++slot) {
        widen(barValue(*shown[slot].record, type) * scale);
        if (scale < 1.0) {
            double sum = 0.0;
            for (const auto& value : valuesOf(shown[slot], type))
                widen(sum += value->value().value_or(0.0) * scale);
            widen(sum + unknownOf(shown[slot], type) * scale);
        }
        axis.labels.append(QString::number(shown[slot].record->year().value_or(0)));
        axis.ticks.append(double(slot));
    }
    return axis;
}

double labelInterval(double top)
{
    return ValueAxisLabels::labelInterval(top);
}

ValueAxis valueAxis(double top, double bottom)
{
    ValueAxis axis;
    axis.interval = ValueAxisLabels::labelInterval(top, bottom);
    // The walk goes in tenths of the interval; with an interval below 10 a tenth is 0, and the
    // labels are simply its multiples. A tenth is also the room beyond 0 on the side without bars.
    const double margin = std::trunc(axis.interval / 10.0);
    axis.labels = ValueAxisLabels::labels(top, bottom, axis.interval, kLabelHeadroom);
    const double lower = bottom < 0.0 ? bottom : -margin;
    // All bars below 0 still hang from 0, which stays in view.
    const double upper = top > 0.0 ? top : margin;
    axis.range = ValueAxisLabels::valueRange(lower, upper, kRangeFactor);
    if (!axis.range.isFinite() || axis.range.length <= 0.0) {
        const double location = std::isfinite(axis.range.location) ? std::min(axis.range.location, 0.0) : 0.0;
        axis.range = chart::PlotRange::withLocation(location, location < 0.0 ? -location : 1.0);
    }
    return axis;
}

QString valueLabelText(double value)
{
    return ValueAxisLabels::text(value);
}

chart::PlotRange slotRange(int slotCount)
{
    const double high = std::max(0, slotCount - 1) + barWidth / 2;
    const double low = -barWidth / 2;
    return chart::PlotRange::withLocation(low, high - low).expandedByFactor(kSlotRangeFactor);
}

chart::PlotRange slotRangeClearOf(int slotCount, double clearLeft, double plotWidth)
{
    return ValueAxisLabels::clearOfLabels(slotRange(slotCount), -barWidth / 2, clearLeft, plotWidth);
}

double mostClearLeft(int slotCount, double slotWidth, double plotWidth)
{
    const chart::PlotRange range = slotRange(slotCount);
    const double span = range.location + range.length + barWidth / 2;
    return std::max(0.0, plotWidth - span * slotWidth);
}

BarPopup barPopup(const YearEnd& yearEnd, int type, const QString& plotIdentifier, bool basesVary,
    const MVX_Model* model, PieChartSettings::PieLabelType labelStyle, double scale)
{
    const MVX_NWLog& record = *yearEnd.record;
    BarPopup popup;
    popup.color = PieSlices::netWorthColor();
    if (type != 1 && type != 2) {
        // The bar's own height, so that popup and bar agree even where the stored net worth does not.
        popup.pointValue = barValue(record, 0);
        popup.amount = NWCurrencyFormatter::currencyFormattedString(popup.pointValue, false) + u' ';
        popup.caption = QString::number(record.year().value_or(0));
        return popup;
    }
    const Segment found = segment(yearEnd, type, plotIdentifier, basesVary, scale);
    popup.pointValue = found.tip;
    if (!found.value)
        return popup;
    // A stack drawn scaled adds up to more than a double holds, more than its record's total:
    // the share is taken of its sum.
    double total = barValue(record, type);
    if (scale < 1.0) {
        total = unknownOf(yearEnd, type) * scale;
        for (const auto& value : valuesOf(yearEnd, type))
            total += value->value().value_or(0.0) * scale;
    }
    const QString percent = total == 0.0 || !std::isfinite(total)
        ? PieSlices::emptyTotalCaption()
        : PieSlices::percentText(*found.value * scale / total * 100.0);
    popup.amount = QStringLiteral("%1 (%2)").arg(
        NWCurrencyFormatter::currencyFormattedString(*found.value, false), percent);
    const QString name = plotIdentifier == unknownCategoryIdentifier
        ? PieSlices::unknownCategoryName()
        : PieSlices::categoryName(
            model, type == 1 ? PieSlices::Side::Assets : PieSlices::Side::Liabilities, plotIdentifier);
    popup.caption = PieSlices::categoryNameAbbrev(name, 25, labelStyle);
    popup.color = type == 1 ? PieSlices::assetsColor() : PieSlices::liabilitiesColor();
    return popup;
}

} // namespace YearEndBars
