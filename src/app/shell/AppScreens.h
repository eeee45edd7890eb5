#pragma once

#include <array>

/// The seven screens of the sidebar, in its order.
enum class AppScreen { Dashboard, Category, Tags, LineChart, PieChart, Annual, Compare };

struct AppScreenInfo {
    AppScreen screen;
    /// The screen controller's class, also the object name of its view.
    const char* className;
    /// Stem of the sidebar button's images ("N" normal, "H" rollover, "S" pressed).
    const char* imageStem;
    /// The sidebar button's tooltip, English key of the strings table.
    const char* tooltip;
};

inline constexpr std::array<AppScreenInfo, 7> appScreens { {
    { AppScreen::Dashboard, "DashboardController", "Dashboard", "Dashboard" },
    { AppScreen::Category, "CategoryViewController", "Category", "Categories" },
    { AppScreen::Tags, "TagsViewController", "Tags", "Category Tags" },
    { AppScreen::LineChart, "LineChartViewController", "LineChart", "Line Chart" },
    { AppScreen::PieChart, "BigPieChartViewController", "PieChart", "Pie Chart" },
    { AppScreen::Annual, "AnnualViewController", "BarChart", "Annual Chart" },
    { AppScreen::Compare, "CompareViewController", "Compare", "Compare Net Worth Records" },
} };

inline constexpr const AppScreenInfo& appScreenInfo(AppScreen screen)
{
    return appScreens[static_cast<std::size_t>(screen)];
}
