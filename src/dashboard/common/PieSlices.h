#pragma once

#include "charts/kit/Fill.h"
#include "charts/kit/Styles.h"
#include "dashboard/common/PieChartSettings.h"
#include "dashboard/common/PieColorSchemes.h"
#include "model/data/MVX_Model.h"
#include "model/data/MVX_NWLog.h"

#include <QColor>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

/// The slices of every pie, as pure functions of a record, the model's category lists and the
/// settings: the net-worth split (liabilities, assets, net worth), the dashboard's category pie
/// with small values merged into "All other", and the full-window category pies (every positive
/// value, shaded by position). The screens turn a `Pie` into their plot's answers one to one:
/// slice count, value, label text, fill. Nothing here touches a widget or the store.
namespace PieSlices {

/// Amount text of a slice label or popup.
using AmountFormat = std::function<QString(double)>;
/// The store's base-currency text with 0 fraction digits and negatives in parentheses, as
/// every pie shows amounts (reads the store at each call; main thread only).
AmountFormat storeAmountFormat();

/// PERCENT_SHOW_LIMIT: a value of this share of the total or less is merged.
inline constexpr double percentShowLimit = 2.0;
/// The caption of a pie whose record total is 0 (no percentages can be given).
QString emptyTotalCaption(); // "–"
/// The name shown for a value whose category no longer exists.
QString unknownCategoryName(); // "(unknown category)"
QString allOtherLabel(); // "All other"
QString allOtherCaption(); // "All other categories"
/// The title of a pie that shows `type`, which also names its printout: "Net Worth", "Asset
/// Categories" or "Liability Categories".
QString title(PieChartSettings::PieDisplayType type);

/// Popup and fill colours (calibrated RGB, alpha 1).
QColor liabilitiesColor(); // (0.98, 0.10, 0.34)
QColor assetsColor(); // (0.28, 0.73, 0.24)
QColor netWorthColor(); // (0.28, 0.66, 0.99)
/// The net-worth split's fills: two-colour gradients at -30 degrees.
chart::Fill liabilitiesFill(double alpha = 1.0);
chart::Fill assetsFill(double alpha = 1.0);
chart::Fill netWorthFill();

struct Slice {
    std::optional<double> value; // none: the slice draws nothing
    QString label; // null: no label
    std::optional<chart::Fill> fill; // none: the pie's default fill
    QString categoryID; // empty for the net-worth split and the merged slice
    QString categoryName; // the full name; "(unknown category)" for an ID no category has
    double percent = 0.0; // share of the record's total, category slices only
    bool merged = false; // the "All other" slice
};

struct Pie {
    QList<Slice> slices; // numberOfSegments is slices.size()
    int bigCount = 0; // slices of their own (the merged slice excluded)
    double totalInSmallPercent = 0.0;
    double totalInSmallPercentValue = 0.0;
    bool smallPercntIsActive = false;
    QString caption; // emptyTotalCaption() when the record's total is 0, else null
};

struct PopupTexts {
    QString amount;
    QString caption;
    QColor color = netWorthColor();
};

enum class Side { Assets, Liabilities };

/// Assets minus liabilities below 0 (false without a record).
bool hasNegativeNW(const MVX_NWLog* record);

/// `categoryNameAbbrev:maxLength:`: with L = maxLength (plus 5 when labels show no value), a name
/// of at least L + 3 characters becomes its first L - 1 characters and "..."; shorter names stay.
/// A cut never splits a surrogate pair.
QString categoryNameAbbrev(const QString& name, int maxLength, PieChartSettings::PieLabelType labelStyle);

/// The name of the category `categoryID` on `side`, or "(unknown category)" when no category of
/// the model has that ID.
QString categoryName(const MVX_Model* model, Side side, const QString& categoryID);

/// "%.0f%" of a percentage; "–" for one that is not finite.
QString percentText(double percent);

/// The net-worth split: liabilities, assets and, unless the record's net worth is negative, the
/// net worth; labels are the amounts. Without a record the first two have no value and the
/// third is 0.
Pie netWorthPie(const MVX_NWLog* record, const AmountFormat& format);
/// The popup of slice `index` of the net-worth split (another index: empty texts, net-worth colour).
PopupTexts netWorthSlicePopup(const MVX_NWLog* record, int index, const AmountFormat& format);

struct DashboardPieOptions {
    PieChartSettings::PieDisplayType type = PieChartSettings::PieDisplayType::NetWorth;
    PieChartSettings::PieLabelType labelStyle = PieChartSettings::PieLabelType::Amount;
    bool nameInLabel = true;
    /// The side's category colours (colorDictionaryA or colorDictionaryL).
    PieColorSchemes::ColorDictionary colors;
    /// The current colour list; the merged slice takes entry bigCount of it.
    QStringList colorList;
    AmountFormat format;
    double percentShowLimit = PieSlices::percentShowLimit;
};

/// The dashboard pie. Category types: values above the limit that name a category are slices of
/// their own in stored order, every other value is merged into a last "All other" slice (when the
/// merged sum ever rose above 0); without big values the pie has one empty placeholder first.
/// Labels by style (0 none, 1 amount, 2 percentage) with the name cut at 9; fills from the
/// colour map. Without a record a category pie has no slices; with a total of 0 it has none
/// either and its caption is "–".
Pie dashboardPie(const MVX_NWLog* record, const MVX_Model* model, const DashboardPieOptions& options);
/// The popup of slice `index` of a dashboard pie: "<amount> (<percent>)" and the name cut at 30
/// characters (" ..." appended), "All other categories" for the merged slice.
PopupTexts dashboardSlicePopup(const Pie& pie, PieChartSettings::PieDisplayType type, const MVX_NWLog* record,
    int index, const AmountFormat& format);

/// A full-window category pie: every value above 0 that names a category, in stored order, no
/// merging; slice k of n is shaded with alpha (k + 1) * 0.9 / n + 0.1 (in steps of 1/255). With
/// `paleTowards` the slices are opaque instead, in the colour each would show over that
/// background: a dark window then shows them as pale as a light one does, not fading into it.
/// Labels by style with the name cut at 15. Without a record no slices; without positive values
/// one empty slice; with a total of 0 no slices and the caption "–".
Pie categoryPie(const MVX_NWLog* record, const MVX_Model* model, Side side,
    PieChartSettings::PieLabelType labelStyle, bool nameInLabel, const AmountFormat& format,
    const std::optional<QColor>& paleTowards = std::nullopt);
/// The popup of slice `index` of a full-window category pie: "<amount> (<percent>)" and the full name.
PopupTexts categorySlicePopup(const Pie& pie, Side side, int index, const AmountFormat& format);

/// The largest pie radius and label size a screen sets: far beyond any display, while the
/// chart layer's image of a pie stays a size that can be made.
inline constexpr double maximumRadius = 2000.0;
inline constexpr double maximumLabelSize = 200.0;

/// How a pie and its labels share the pie's area: the pie's radius and the labels' size.
struct LabelFit {
    double radius = 0.0;
    double labelSize = 0.0;
};

/// Fits a pie centred in `area` whose labels (`labelStyle`) stand outside its rim along the
/// radius, `labelOffset` away. The pie keeps `wanted` when the widest label has room; otherwise it
/// shrinks, but its diameter keeps half the area's shorter side (or `wanted`, when smaller); then
/// the labels shrink a pixel at a time down to 8. Labels that still find no room are for the pie
/// to leave out. `wanted` is kept within `maximumRadius` and the label size within
/// `maximumLabelSize`.
LabelFit fitRadiusAndLabels(const QSizeF& area, double wanted, const Pie& pie,
    const chart::TextStyle& labelStyle, double labelOffset);
/// The same with the pie's `widestLabels`, measured once for a pie that is fitted again and
/// again (a pie of thousands of labels at every resize).
LabelFit fitRadiusAndLabels(const QSizeF& area, double wanted, const QStringList& widestLabels,
    const chart::TextStyle& labelStyle, double labelOffset);
/// The few labels of `pie` that are widest in `labelStyle`.
QStringList widestLabels(const Pie& pie, const chart::TextStyle& labelStyle);

} // namespace PieSlices
