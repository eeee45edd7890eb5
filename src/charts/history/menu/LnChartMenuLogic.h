#pragma once

#include "charts/history/settings/HistoryChartSettings.h"
#include "model/data/MVX_Model.h"
#include "platform/Expected.h"

#include <QString>

#include <optional>

/// What the history chart's settings popover decides without its widgets: the suggested goal,
/// the reading of its goal fields, the category that counts as chosen, the state of its form
/// and the tag filter's change. Main thread only.
namespace LnChartMenu {

/// age × income / 10; none when either is unknown.
std::optional<double> calculateSuggestedNW(std::optional<int> age, std::optional<double> income);

/// An amount typed in a goal or income field, read as currency text of the base currency:
/// none for an empty field (no goal, no income), else the number; an error text when the
/// text is not a finite number.
platform::Expected<std::optional<double>> readAmount(const QString& text);
/// An age typed in years (the integer part of a decimal number): none for an empty field;
/// an error text for text that is not a finite number or no age the settings can hold.
platform::Expected<std::optional<int>> readAge(const QString& text);

/// The ID of the chosen category when `categories` holds it, else the first category's ID;
/// null when the list is empty.
QString chosenCategoryOrFirst(const QString& chosen, const MVX_CategoryList& categories);
/// The row of `categoryID` in `categories`, or -1.
int rowOfCategory(const QString& categoryID, const MVX_CategoryList& categories);

/// Enabled and visible states of the form for one set of choices.
struct FormState {
    bool stackedVisible = false;
    /// The goal switch and the goal's fields may be used at all (net worth with values).
    bool goalGroupEnabled = false;
    /// The goal's fields and kind control take input (the goal switch on as well).
    bool goalActive = false;
    /// The fixed amount shows; otherwise age, income and the suggested goal show.
    bool fixedGoalShown = false;
    /// Whether each category table is enabled (and undimmed); none leaves it as it is.
    std::optional<bool> assetTableEnabled;
    std::optional<bool> liabilityTableEnabled;
    /// The dimming of each table's rows: full for the chart types that use the list.
    qreal assetRowsOpacity = 1.0;
    qreal liabilityRowsOpacity = 1.0;
    /// The amounts/percent control is dimmed (still usable) while values are shown.
    qreal percentControlOpacity = 1.0;
};
FormState formState(HistoryChartSettings::ChartType type, bool displayChanges, bool showGoal,
    HistoryChartSettings::GoalType goalType);

} // namespace LnChartMenu
