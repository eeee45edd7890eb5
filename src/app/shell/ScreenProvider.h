#pragma once

#include "app/shell/AppScreens.h"

class QWidget;

/// Makes the screens of the sidebar and tells them when they are placed. Each screen is
/// asked for once and lives as long as the window. Here every screen but the dashboard's
/// containers is a placeholder; the screen subsystems override what they bring.
class ScreenProvider {
public:
    virtual ~ScreenProvider() = default;

    /// A new view for `screen`; the caller takes ownership. Never null.
    virtual QWidget* createScreen(AppScreen screen);
    /// After the screen was placed (also when it was shown already, for the annual and
    /// comparison screens): the history chart refreshes, the annual chart updates.
    virtual void screenPlaced(AppScreen screen, QWidget* view);
    /// Before the comparison screen is placed: the net worth to compare (0 without records).
    virtual void compareWithNetWorth(QWidget* view, double netWorth);
};
