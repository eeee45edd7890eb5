#include "dashboard/common/PieSlices.h"

#include "model/data/MVX_Category.h"
#include "model/data/MVX_CategoryLog.h"
#include "model/format/NWCurrencyFormatter.h"
#include "platform/Appearance.h"
#include "platform/RoundSteps.h"
#include "platform/SaneGeometry.h"
#include "platform/Strings.h"

#include <QFontMetricsF>
#include <QHash>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;
using PieChartSettings::PieDisplayType;
using PieChartSettings::PieLabelType;

namespace PieSlices {

namespace {

constexpr int dashboardNameLength = 9;
constexpr int popupNameLength = 30;

chart::Fill gradientFill(const QColor& begin, const QColor& end)
{
    return chart::Fill(chart::Gradient::withColors(begin, end, -30.0));
}

QColor rgb(double red, double green, double blue, double alpha = 1.0)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), float(alpha));
}

const MVX_CategoryLogList* valuesOf(const MVX_NWLog* record, Side side)
{
    if (!record)
        return nullptr;
    const auto& logs = side == Side::Assets ? record->assetLogs() : record->liabilityLogs();
    return logs ? &*logs : nullptr;
}

double valueOf(const MVX_CategoryLog& log)
{
    const double value = log.value().value_or(0.0);
    return std::isfinite(value) ? value : 0.0;
}

// What the shares of one side's values are taken of, in units of `scale`.
struct ShareBase {
    double total = 0.0;
    double scale = 1.0;
    double percentOf(double value) const { return value * scale / total * 100.0; }
};

// The record's total of one side; none when no percentage can be worked out from it. Values
// that add up to more than a double holds have no stored total that is their sum: their shares
// are then taken of that sum, worked out at a power of two that keeps it a double.
std::optional<ShareBase> shareBase(const MVX_NWLog* record, Side side)
{
    const double total = (side == Side::Assets ? record->assets() : record->liabilities()).value_or(0.0);
    if (total == 0.0 || !std::isfinite(total))
        return std::nullopt;
    const MVX_CategoryLogList* values = valuesOf(record, side);
    if (!values)
        return ShareBase { total };
    double sum = 0.0;
    for (const auto& log : *values)
        sum += log ? valueOf(*log) : 0.0;
    if (std::isfinite(sum))
        return ShareBase { total };
    ShareBase scaled { 0.0, platform::summingScale(values->size()) };
    for (const auto& log : *values)
        scaled.total += log ? valueOf(*log) * scaled.scale : 0.0;
    return scaled;
}

QString valueText(PieLabelType style, double value, double percent, const AmountFormat& format)
{
    switch (style) {
    case PieLabelType::Percentage:
        return percentText(percent);
    case PieLabelType::Amount:
        return format(value);
    case PieLabelType::None:
        break;
    }
    return u""_s;
}

QString labelWithName(PieLabelType style, bool nameInLabel, const QString& text, const QString& shortName)
{
    if (!nameInLabel)
        return text;
    return style == PieLabelType::None ? shortName : u"%1-%2"_s.arg(text, shortName);
}

Side sideOf(PieDisplayType type)
{
    return type == PieDisplayType::LiabilityCategories ? Side::Liabilities : Side::Assets;
}

} // namespace

AmountFormat storeAmountFormat()
{
    return [](double amount) {
        return NWCurrencyFormatter(0, NWCurrencyFormatter::parenthesesNegativeFormat())
            .stringFromNumber(amount);
    };
}

QString emptyTotalCaption()
{
    return u"\u2013"_s;
}

QString unknownCategoryName()
{
    return u"(unknown category)"_s;
}

QString allOtherLabel()
{
    return u"All other"_s;
}

QString allOtherCaption()
{
    return u"All other categories"_s;
}

QString title(PieChartSettings::PieDisplayType type)
{
    switch (type) {
    case PieChartSettings::PieDisplayType::NetWorth:
        return platform::Strings::tr("Net Worth");
    case PieChartSettings::PieDisplayType::AssetCategories:
        return platform::Strings::tr("Asset Categories");
    case PieChartSettings::PieDisplayType::LiabilityCategories:
        break;
    }
    return platform::Strings::tr("Liability Categories");
}

QColor liabilitiesColor()
{
    return rgb(0.98, 0.10, 0.34);
}

QColor assetsColor()
{
    return rgb(0.28, 0.73, 0.24);
}

QColor netWorthColor()
{
    return rgb(0.28, 0.66, 0.99);
}

namespace {

std::pair<QColor, QColor> liabilitiesGradientColors()
{
    return { rgb(1.0, 0.39, 0.55), rgb(0.98, 0.10, 0.34) };
}

std::pair<QColor, QColor> assetsGradientColors()
{
    return { rgb(0.65, 0.88, 0.33), rgb(0.28, 0.73, 0.24) };
}

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

} // namespace

chart::Fill liabilitiesFill(double alpha)
{
    const auto [begin, end] = liabilitiesGradientColors();
    return gradientFill(withAlpha(begin, alpha), withAlpha(end, alpha));
}

chart::Fill assetsFill(double alpha)
{
    const auto [begin, end] = assetsGradientColors();
    return gradientFill(withAlpha(begin, alpha), withAlpha(end, alpha));
}

chart::Fill netWorthFill()
{
    return gradientFill(rgb(0.33, 0.96, 1.0), rgb(0.28, 0.66, 0.99));
}

bool hasNegativeNW(const MVX_NWLog* record)
{
    return record && record->assets().value_or(0.0) - record->liabilities().value_or(0.0) < 0.0;
}

QString categoryNameAbbrev(const QString& name, int maxLength, PieLabelType labelStyle)
{
    const int limit = maxLength + (labelStyle == PieLabelType::None ? 5 : 0);
    if (name.size() < limit + 3)
        return name;
    qsizetype keep = std::max(limit - 1, 0);
    if (keep > 0 && name.at(keep - 1).isHighSurrogate())
        --keep;
    return u"%1..."_s.arg(name.left(keep));
}

QString categoryName(const MVX_Model* model, Side side, const QString& categoryID)
{
    if (model) {
        const auto& categories = side == Side::Assets ? model->assetscat() : model->liabilitycat();
        if (categories)
            for (const auto& category : *categories)
                if (category && category->ID() == categoryID)
                    return category->categoryName();
    }
    return unknownCategoryName();
}

QString percentText(double percent)
{
    if (!std::isfinite(percent))
        return emptyTotalCaption();
    return QString::asprintf("%.0f", percent) + u"%"_s;
}

Pie netWorthPie(const MVX_NWLog* record, const AmountFormat& format)
{
    Pie pie;
    const std::optional<double> liabilities
        = record ? record->liabilities().value_or(0.0) : std::optional<double>();
    const std::optional<double> assets = record ? record->assets().value_or(0.0) : std::optional<double>();
    const double netWorth = assets.value_or(0.0) - liabilities.value_or(0.0);
    Slice slice;
    slice.value = liabilities;
    slice.label = format(liabilities.value_or(0.0));
    slice.fill = liabilitiesFill();
    pie.slices.append(slice);
    slice.value = assets;
    slice.label = format(assets.value_or(0.0));
    slice.fill = assetsFill();
    pie.slices.append(slice);
    if (!hasNegativeNW(record)) {
        slice.value = netWorth;
        slice.label = format(netWorth);
        slice.fill = netWorthFill();
        pie.slices.append(slice);
    }
    pie.bigCount = int(pie.slices.size());
    return pie;
}

PopupTexts netWorthSlicePopup(const MVX_NWLog* record, int index, const AmountFormat& format)
{
    const double liabilities = record ? record->liabilities().value_or(0.0) : 0.0;
    const double assets = record ? record->assets().value_or(0.0) : 0.0;
    switch (index) {
    case 0:
        return { format(liabilities), platform::Strings::tr("Liabilities"), liabilitiesColor() };
    case 1:
        return { format(assets), platform::Strings::tr("Assets"), assetsColor() };
    case 2:
        return { format(assets - liabilities), platform::Strings::tr("Net Worth"), netWorthColor() };
    default:
        return {};
    }
}

namespace {

// The names of one side's categories by ID, looked up once per pie: a pie of thousands of
// categories would otherwise walk the category list once per slice.
class CategoryNames {
public:
    CategoryNames(const MVX_Model* model, Side side)
    {
        if (!model)
            return;
        const auto& categories = side == Side::Assets ? model->assetscat() : model->liabilitycat();
        if (!categories)
            return;
        m_names.reserve(categories->size());
        // The first category of an ID wins, as in a walk of the list.
        for (const auto& category : *categories)
            if (category && !m_names.contains(category->ID()))
                m_names.insert(category->ID(), category->categoryName());
    }
    QString name(const QString& categoryID) const { return m_names.value(categoryID, unknownCategoryName()); }

private:
    QHash<QString, QString> m_names;
};

/// The slice of one category's value in a pie whose slices add up to `total`.
Slice categorySlice(const MVX_CategoryLog& log, const ShareBase& total, const CategoryNames& names,
    PieLabelType labelStyle, bool nameInLabel, int nameLength, const AmountFormat& format)
{
    Slice slice;
    const double value = valueOf(log);
    slice.value = value;
    slice.percent = total.percentOf(value);
    slice.categoryID = log.categoryID();
    slice.categoryName = names.name(slice.categoryID);
    slice.label = labelWithName(labelStyle, nameInLabel, valueText(labelStyle, value, slice.percent, format),
        categoryNameAbbrev(slice.categoryName, nameLength, labelStyle));
    return slice;
}

} // namespace

Pie dashboardPie(const MVX_NWLog* record, const MVX_Model* model, const DashboardPieOptions& options)
{
    if (options.type == PieDisplayType::NetWorth)
        return netWorthPie(record, options.format);
    Pie pie;
    if (!record)
        return pie;
    const Side side = sideOf(options.type);
    const std::optional<ShareBase> total = shareBase(record, side);
    if (!total) {
        pie.caption = emptyTotalCaption();
        return pie;
    }
    const CategoryNames names(model, side);
    if (const MVX_CategoryLogList* values = valuesOf(record, side)) {
        for (const auto& log : *values) {
            if (!log)
                continue;
            const double value = valueOf(*log);
            const double percent = total->percentOf(value);
            if (percent > options.percentShowLimit && !log->categoryID().isEmpty()) {
                Slice slice = categorySlice(*log, *total, names, options.labelStyle, options.nameInLabel,
                    dashboardNameLength, options.format);
                slice.fill = gradientFill(PieColorSchemes::categoryColor(options.colors, slice.categoryID),
                    PieColorSchemes::categoryColor(options.colors, slice.categoryID));
                pie.slices.append(slice);
                continue;
            }
            pie.totalInSmallPercent += percent;
            pie.totalInSmallPercentValue += value;
            if (pie.totalInSmallPercentValue > 0.0)
                pie.smallPercntIsActive = true;
        }
    }
    pie.bigCount = int(pie.slices.size());
    if (pie.bigCount == 0)
        pie.slices.append(Slice {});
    if (pie.smallPercntIsActive) {
        Slice merged;
        merged.merged = true;
        merged.value = pie.totalInSmallPercentValue;
        merged.percent = pie.totalInSmallPercent;
        merged.categoryName = allOtherCaption();
        merged.label = labelWithName(options.labelStyle, options.nameInLabel,
            valueText(
                options.labelStyle, pie.totalInSmallPercentValue, pie.totalInSmallPercent, options.format),
            allOtherLabel());
        const QColor color = PieColorSchemes::colorAt(options.colorList, pie.bigCount);
        merged.fill = gradientFill(color, color);
        pie.slices.append(merged);
    }
    return pie;
}

PopupTexts dashboardSlicePopup(
    const Pie& pie, PieDisplayType type, const MVX_NWLog* record, int index, const AmountFormat& format)
{
    if (type == PieDisplayType::NetWorth)
        return netWorthSlicePopup(record, index, format);
    PopupTexts texts;
    if (index < 0 || index >= pie.slices.size() || !pie.slices.at(index).value)
        return texts;
    const Slice& slice = pie.slices.at(index);
    texts.color = sideOf(type) == Side::Assets ? assetsColor() : liabilitiesColor();
    texts.amount = u"%1 (%2)"_s.arg(format(*slice.value), percentText(slice.percent));
    texts.caption = slice.merged || slice.categoryName.size() < popupNameLength + 1
        ? slice.categoryName
        : u"%1 ..."_s.arg(slice.categoryName.left(popupNameLength));
    return texts;
}

Pie categoryPie(const MVX_NWLog* record, const MVX_Model* model, Side side, PieLabelType labelStyle,
    bool nameInLabel, const AmountFormat& format, const std::optional<QColor>& paleTowards)
{
    constexpr int bigPieNameLength = 15;
    Pie pie;
    if (!record)
        return pie;
    const std::optional<ShareBase> total = shareBase(record, side);
    if (!total) {
        pie.caption = emptyTotalCaption();
        return pie;
    }
    const CategoryNames names(model, side);
    if (const MVX_CategoryLogList* values = valuesOf(record, side)) {
        for (const auto& log : *values) {
            if (!log || log->categoryID().isEmpty() || !(valueOf(*log) > 0.0))
                continue;
            pie.slices.append(
                categorySlice(*log, *total, names, labelStyle, nameInLabel, bigPieNameLength, format));
        }
    }
    pie.bigCount = int(pie.slices.size());
    const double count = double(pie.slices.size());
    for (qsizetype k = 0; k < pie.slices.size(); ++k) {
        // In whole steps of what a screen shows: neighbours of a pie of thousands of slices then
        // share one fill, which the painter prepares once.
        const double alpha = std::round((double(k + 1) * 0.9 / count + 0.1) * 255.0) / 255.0;
        if (!paleTowards) {
            pie.slices[k].fill = side == Side::Assets ? assetsFill(alpha) : liabilitiesFill(alpha);
            continue;
        }
        const auto [begin, end] = side == Side::Assets ? assetsGradientColors() : liabilitiesGradientColors();
        pie.slices[k].fill = gradientFill(platform::seenOver(withAlpha(begin, alpha), *paleTowards),
            platform::seenOver(withAlpha(end, alpha), *paleTowards));
    }
    if (pie.slices.isEmpty())
        pie.slices.append(Slice {});
    return pie;
}

PopupTexts categorySlicePopup(const Pie& pie, Side side, int index, const AmountFormat& format)
{
    PopupTexts texts;
    texts.color = side == Side::Assets ? assetsColor() : liabilitiesColor();
    if (index < 0 || index >= pie.slices.size() || !pie.slices.at(index).value)
        return texts;
    const Slice& slice = pie.slices.at(index);
    texts.amount = u"%1 (%2)"_s.arg(format(*slice.value), percentText(slice.percent));
    texts.caption = slice.categoryName;
    return texts;
}

namespace {

chart::TextStyle saneLabelStyle(const chart::TextStyle& labelStyle)
{
    chart::TextStyle style = labelStyle;
    style.fontSize = platform::saneValue(labelStyle.fontSize, 1.0, maximumLabelSize, 8.0);
    return style;
}

} // namespace

QStringList widestLabels(const Pie& pie, const chart::TextStyle& labelStyle)
{
    // The widest labels at one size stay the widest at the smaller ones, give or take a pixel of
    // hinting: a few are enough to measure again. Thousands of labels are first ranked by the sum
    // of their characters' widths, which shaping changes by a pixel or two, and only the widest
    // of that ranking are measured whole.
    constexpr qsizetype count = 8;
    constexpr qsizetype ranked = 4 * count;
    const QFontMetricsF metrics(saneLabelStyle(labelStyle).font());
    QHash<QChar, double> advances;
    QList<std::pair<double, QString>> widths;
    widths.reserve(pie.slices.size());
    for (const Slice& slice : pie.slices) {
        if (slice.label.isEmpty())
            continue;
        double width = 0.0;
        for (const QChar c : slice.label) {
            auto it = advances.constFind(c);
            if (it == advances.constEnd())
                it = advances.insert(c, metrics.horizontalAdvance(c));
            width += *it;
        }
        widths.append({ width, slice.label });
    }
    const auto wider = [](const auto& a, const auto& b) { return a.first > b.first; };
    qsizetype kept = std::min(ranked, widths.size());
    std::partial_sort(widths.begin(), widths.begin() + kept, widths.end(), wider);
    widths.resize(kept);
    for (auto& [width, label] : widths)
        width = metrics.horizontalAdvance(label);
    kept = std::min(count, widths.size());
    std::partial_sort(widths.begin(), widths.begin() + kept, widths.end(), wider);
    QStringList result;
    for (qsizetype i = 0; i < kept; ++i)
        result.append(widths[i].second);
    return result;
}

LabelFit fitRadiusAndLabels(
    const QSizeF& area, double wanted, const Pie& pie, const chart::TextStyle& labelStyle, double labelOffset)
{
    return fitRadiusAndLabels(area, wanted, widestLabels(pie, labelStyle), labelStyle, labelOffset);
}

LabelFit fitRadiusAndLabels(const QSizeF& sizeOfArea, double wantedRadius, const QStringList& widest,
    const chart::TextStyle& labelStyle, double labelOffset)
{
    const QSizeF area = platform::saneSize(sizeOfArea);
    const double shorter = std::min(area.width(), area.height());
    const double wanted = platform::saneLength(wantedRadius, maximumRadius);
    const double smallestRadius = std::min(wanted, shorter / 4);
    labelOffset = platform::saneLength(labelOffset);
    chart::TextStyle style = saneLabelStyle(labelStyle);
    const double largest = style.fontSize;
    const double smallest = std::min(8.0, largest);
    for (double size = largest; size >= smallest; size -= 1.0) {
        style.fontSize = size;
        const QFontMetricsF metrics(style.font());
        double width = 0.0;
        for (const QString& label : widest)
            width = std::max(width, metrics.horizontalAdvance(label));
        const double room = shorter / 2 - labelOffset - width - 2;
        if (room >= smallestRadius)
            return { std::min(wanted, room), size };
    }
    // The pie keeps half its area; the labels that find no room are left out.
    return { smallestRadius, style.fontSize };
}

} // namespace PieSlices
