#pragma once

#include <QPointer>
#include <QRectF>
#include <QWidget>

class PKPopoverController;
class PKPopoverWindowFrame;
class QLabel;
class QPropertyAnimation;
class QAbstractAnimation;

/// The frameless, translucent tool window that holds a popover. It keeps the content view
/// inside the frame's margins, runs the pop and fade animations and turns Escape into a
/// close request. Owned by its controller; geometry is given in y-up screen space.
class PKPopoverWindow : public QWidget {
    Q_OBJECT
public:
    PKPopoverWindow();
    ~PKPopoverWindow() override;

    PKPopoverWindowFrame* frameView() const { return m_frameView; }
    QWidget* popoverContentView() const { return m_popoverContentView; }
    /// Installs `view` inside the frame's margins (nullptr removes the current one). The
    /// previous view is detached, not deleted.
    void setPopoverContentView(QWidget* view);

    PKPopoverController* popoverController() const { return m_popoverController; }
    void setPopoverController(PKPopoverController* controller) { m_popoverController = controller; }

    /// The frame grown by the arrow height on every side, and its inverse.
    QRectF frameRectForContentRect(const QRectF& content) const;
    QRectF contentRectForFrameRect(const QRectF& frame) const;

    /// The frame in y-up screen coordinates.
    QRectF frameYUp() const;
    void setFrameYUp(const QRectF& frame);

    /// Visible, or its pop animation's snapshot window is.
    bool popoverIsVisible() const;
    QWidget* zoomWindow() const;

    void presentAnimated();
    void presentWithPopAnimation();
    void presentWithFadeAnimation();
    void dismissAnimated();
    /// Stops a running pop or fade without reporting its end.
    void stopAnimations();
    bool isAnimating() const;
    /// Shows the window at full opacity and gives it the keyboard.
    void orderFrontAndMakeKey();

    /// What Escape does: a close request when the controller allows it.
    void cancelOperation();

Q_SIGNALS:
    /// A pop or fade started by this window has ended.
    void animationDidStop();
    /// The window stopped being the active window.
    void didResignKey();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void layoutContent();
    void updateShape();
    QWidget* makeZoomWindow(const QRectF& yUpFrame);
    void endPop();
    void startAnimation(QAbstractAnimation* animation);

    PKPopoverWindowFrame* m_frameView = nullptr;
    QPointer<QWidget> m_popoverContentView;
    QPointer<QLabel> m_zoomWindow;
    QPointer<QAbstractAnimation> m_animation;
    PKPopoverController* m_popoverController = nullptr;
};
