#pragma once

#include "uikit/window/TBStandardButtons.h"

#include <QWidget>

#include <memory>

class TBWindowButton;

/// The main window as its callers see it: every operation of both window families
/// (`TBDefensiveWindow` and `TBClassicWindow`), whichever family `create` makes.
/// Operations the made family lacks do nothing.
class TBAppWindow {
public:
    virtual ~TBAppWindow() = default;

    /// Whether the modern window family is available; always true here. Computed once.
    static bool isYosemiteOrGreater();
    /// A new main window: a `TBDefensiveWindow` when `isYosemiteOrGreater`, else a
    /// `TBClassicWindow`. The caller owns it, also when it has a `parent`: the parent only
    /// keeps the window above it (as its transient window) and may go first.
    static std::unique_ptr<TBAppWindow> create(QWidget* parent = nullptr);
    /// The same choice made explicitly, for callers that must have one family.
    static std::unique_ptr<TBAppWindow> create(bool modern, QWidget* parent);

    /// The window itself.
    virtual QWidget* widget() = 0;
    virtual QWidget* titleBarView() const = 0;
    virtual QWidget* contentView() const = 0;
    /// Puts `view` in place of the content view; the window takes it over.
    virtual void setContentView(QWidget* view) = 0;
    /// Null when the window has no button of that kind.
    virtual TBWindowButton* standardWindowButton(TBStandardButtons::Kind kind) const = 0;

    virtual void setTitleBarHeight(double height) = 0;
    virtual double titleBarHeight() const = 0;
    virtual void setCenterTrafficLightButtons(bool center) = 0;
    virtual void setCenterFullScreenButton(bool center) = 0;
    virtual void setShowsTitle(bool shows) = 0;
    virtual void setHideTitleBarInFullScreen(bool hide) = 0;
    virtual void setFullScreenButtonRightMargin(double margin) = 0;
};
