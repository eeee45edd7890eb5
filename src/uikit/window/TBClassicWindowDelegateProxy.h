#pragma once

#include "uikit/window/TBWindowDelegateProxy.h"

class TBClassicWindow;

/// The classic window's delegate: forwards every message to the outside delegate only
/// (the classic window hears its own events directly) and places sheets below the custom
/// title bar unless that delegate places them itself.
class TBClassicWindowDelegateProxy : public TBWindowDelegateProxy {
public:
    explicit TBClassicWindowDelegateProxy(TBClassicWindow* window) : m_window(window) { }

    /// The outside delegate's answer; otherwise `rect` with its y just below the title bar.
    std::optional<QRectF> windowWillPositionSheet(QWidget* w, QWidget* sheet, const QRectF& rect) override;

private:
    TBClassicWindow* m_window;
};
