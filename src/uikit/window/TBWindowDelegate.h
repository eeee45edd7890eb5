#pragma once

#include <QRectF>

#include <optional>

class QWidget;

/// What a window of the kit tells its delegate. Every message has a default that does
/// nothing, so a delegate overrides only what it cares about. `window` is the sender.
class TBWindowDelegate {
public:
    virtual ~TBWindowDelegate() = default;

    virtual void windowDidResize(QWidget* window) { Q_UNUSED(window); }
    virtual void windowDidMove(QWidget* window) { Q_UNUSED(window); }
    virtual void windowDidBecomeKey(QWidget* window) { Q_UNUSED(window); }
    virtual void windowDidResignKey(QWidget* window) { Q_UNUSED(window); }
    virtual void windowDidMiniaturize(QWidget* window) { Q_UNUSED(window); }
    virtual void windowWillEnterFullScreen(QWidget* window) { Q_UNUSED(window); }
    virtual void windowWillExitFullScreen(QWidget* window) { Q_UNUSED(window); }
    virtual void windowDidExitFullScreen(QWidget* window) { Q_UNUSED(window); }
    /// Asked before the window closes; false keeps it open.
    virtual bool windowShouldClose(QWidget* window)
    {
        Q_UNUSED(window);
        return true;
    }
    virtual void windowWillClose(QWidget* window) { Q_UNUSED(window); }
    /// Where a sheet attached to the window goes; none lets the window decide.
    virtual std::optional<QRectF> windowWillPositionSheet(QWidget* window, QWidget* sheet, const QRectF& rect)
    {
        Q_UNUSED(window);
        Q_UNUSED(sheet);
        Q_UNUSED(rect);
        return std::nullopt;
    }
};
