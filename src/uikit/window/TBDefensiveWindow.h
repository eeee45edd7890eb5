#pragma once

#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBWindow.h"

/// The main window: a `TBWindow` that also accepts the operations of the classic
/// window family and does nothing for those it lacks.
class TBDefensiveWindow : public TBWindow, public TBAppWindow {
    Q_OBJECT
public:
    explicit TBDefensiveWindow(QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    QWidget* titleBarView() const override { return TBWindow::titleBarView(); }
    QWidget* contentView() const override { return TBWindow::contentView(); }
    void setContentView(QWidget* view) override { TBWindow::setContentView(view); }
    TBWindowButton* standardWindowButton(TBStandardButtons::Kind kind) const override
    {
        return TBWindow::standardWindowButton(kind);
    }
    void setTitleBarHeight(double height) override { TBWindow::setTitleBarHeight(height); }
    double titleBarHeight() const override { return TBWindow::titleBarHeight(); }
    void setCenterTrafficLightButtons(bool center) override
    {
        TBWindow::setCenterTrafficLightButtons(center);
    }
    void setCenterFullScreenButton(bool center) override { TBWindow::setCenterFullScreenButton(center); }

    // Operations of the classic family only: they change nothing here.
    void setShowsTitle(bool shows) override { Q_UNUSED(shows); }
    void setHideTitleBarInFullScreen(bool hide) override { Q_UNUSED(hide); }
    void setFullScreenButtonRightMargin(double margin) override { Q_UNUSED(margin); }
};
