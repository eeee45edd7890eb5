#pragma once

#include "uikit/window/TBWeakDelegate.h"
#include "uikit/window/TBWindowDelegate.h"

/// Stands as the window's delegate so that the window hears its own delegate messages
/// while an outside delegate still receives all of them: every message goes to the first
/// delegate (the window) and then to the secondary one (the outside delegate). Holds
/// neither; answers come from the last delegate asked.
class TBWindowDelegateProxy : public TBWindowDelegate {
public:
    TBWindowDelegate* firstDelegate() const { return m_firstDelegate.get(); }
    void setFirstDelegate(TBWindowDelegate* delegate) { m_firstDelegate = delegate; }
    TBWindowDelegate* secondaryDelegate() const { return m_secondaryDelegate.get(); }
    void setSecondaryDelegate(TBWindowDelegate* delegate) { m_secondaryDelegate = delegate; }

    void windowDidResize(QWidget* window) override;
    void windowDidMove(QWidget* window) override;
    void windowDidBecomeKey(QWidget* window) override;
    void windowDidResignKey(QWidget* window) override;
    void windowDidMiniaturize(QWidget* window) override;
    void windowWillEnterFullScreen(QWidget* window) override;
    void windowWillExitFullScreen(QWidget* window) override;
    void windowDidExitFullScreen(QWidget* window) override;
    bool windowShouldClose(QWidget* window) override;
    void windowWillClose(QWidget* window) override;
    std::optional<QRectF> windowWillPositionSheet(
        QWidget* window, QWidget* sheet, const QRectF& rect) override;

private:
    template <typename Call> void forward(Call call) const
    {
        if (TBWindowDelegate* first = m_firstDelegate.get())
            call(first);
        if (TBWindowDelegate* second = m_secondaryDelegate.get())
            call(second);
    }

    TBWeakDelegate m_firstDelegate;
    TBWeakDelegate m_secondaryDelegate;
};
