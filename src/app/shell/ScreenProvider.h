#pragma once

#include "app/shell/AppScreens.h"

class QWidget;

/// Makes the screens of the sidebar and tells them when they are placed. Each screen is
/// asked for once and lives as long as the window. A screen that is not built yet is a
/// placeholder that carries its name.
class ScreenProvider {
public:
    virtual ~ScreenProvider() = default;

    /// A new view for `screen`; the caller takes ownership. Never null: a value that names no
    /// sidebar screen gets an empty placeholder.
    virtual QWidget* createScreen(AppScreen screen);
    /// After the screen was placed (also when it was shown already, for the annual and
    /// comparison screens): the history chart refreshes, the annual chart updates, the
    /// comparison re-reads its detailed months.
    virtual void screenPlaced(AppScreen screen, QWidget* view);
    /// Before the comparison screen is placed: the net worth to compare (0 without records);
    /// its statistics charts are redrawn with it.
    virtual void compareWithNetWorth(QWidget* view, double netWorth);
};
