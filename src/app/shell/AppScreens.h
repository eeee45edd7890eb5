#pragma once

#include <QtGlobal>

#include <array>
#include <type_traits>

/// The seven screens of the sidebar, in its order.
enum class AppScreen { Dashboard, Category, Tags, LineChart, PieChart, Annual, Compare };

struct AppScreenInfo {
    AppScreen screen;
    /// The screen controller's class, also the object name of its view.
    const char* className;
    /// Stem of the sidebar button's images ("N" normal, "H" rollover, "S" pressed).
    const char* imageStem;
    /// The sidebar button's tooltip, English key of the strings table (shown with
    /// `platform::localized`).
    const char* tooltip;
};

inline constexpr std::array<AppScreenInfo, 7> appScreens { {
    { AppScreen::Dashboard, "DashboardController", "Dashboard",
        QT_TRANSLATE_NOOP("mervanemac", "Dashboard") },
    { AppScreen::Category, "CategoryViewController", "Category",
        QT_TRANSLATE_NOOP("mervanemac", "Categories") },
    { AppScreen::Tags, "TagsViewController", "Tags", QT_TRANSLATE_NOOP("mervanemac", "Category Tags") },
    { AppScreen::LineChart, "LineChartViewController", "LineChart",
        QT_TRANSLATE_NOOP("mervanemac", "Line Chart") },
    { AppScreen::PieChart, "BigPieChartViewController", "PieChart",
        QT_TRANSLATE_NOOP("mervanemac", "Pie Chart") },
    { AppScreen::Annual, "AnnualViewController", "BarChart",
        QT_TRANSLATE_NOOP("mervanemac", "Annual Chart") },
    { AppScreen::Compare, "CompareViewController", "Compare",
        QT_TRANSLATE_NOOP("mervanemac", "Compare Net Worth Records") },
} };

/// Whether `screen` is one of the sidebar's screens (a value cast from an integer may not be).
inline constexpr bool isAppScreen(AppScreen screen)
{
    const auto index = static_cast<std::underlying_type_t<AppScreen>>(screen);
    return index >= 0 && std::size_t(index) < appScreens.size();
}

/// The entry of `screen`; a value outside the sidebar's screens reads the dashboard's.
inline constexpr const AppScreenInfo& appScreenInfo(AppScreen screen)
{
    return appScreens[isAppScreen(screen) ? static_cast<std::size_t>(screen) : 0];
}
