#pragma once

#include "uikit/window/TBWeakDelegate.h"
#include "uikit/window/TBWindowDelegate.h"

class TBClassicWindow;

/// The classic window's delegate: forwards every message to the outside delegate and
/// places sheets below the custom title bar unless that delegate places them itself.
class TBClassicWindowDelegateProxy : public TBWindowDelegate {
public:
    explicit TBClassicWindowDelegateProxy(TBClassicWindow* window)
        : m_window(window)
    {
    }
    TBWindowDelegate* secondaryDelegate() const { return m_secondaryDelegate.get(); }
    void setSecondaryDelegate(TBWindowDelegate* delegate) { m_secondaryDelegate = delegate; }

    void windowDidResize(QWidget* w) override;
    void windowDidMove(QWidget* w) override;
    void windowDidBecomeKey(QWidget* w) override;
    void windowDidResignKey(QWidget* w) override;
    void windowDidMiniaturize(QWidget* w) override;
    void windowWillEnterFullScreen(QWidget* w) override;
    void windowWillExitFullScreen(QWidget* w) override;
    void windowDidExitFullScreen(QWidget* w) override;
    bool windowShouldClose(QWidget* w) override;
    void windowWillClose(QWidget* w) override;
    /// The outside delegate's answer; otherwise `rect` with its y just below the title bar.
    std::optional<QRectF> windowWillPositionSheet(QWidget* w, QWidget* sheet, const QRectF& rect) override;

private:
    TBClassicWindow* m_window;
    TBWeakDelegate m_secondaryDelegate;
};
