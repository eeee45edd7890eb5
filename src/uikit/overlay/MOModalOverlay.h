#pragma once

#include "uikit/KitNotifications.h"
#include "uikit/overlay/MOModalOverlayDelegate.h"
#include "uikit/overlay/OverlayGeometry.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

class MOModalOverlayView;
class QAbstractAnimation;
class MOOverlayView;
class QWidget;

/// Shows a view controller's view as a modal panel over a window: a child widget covering the
/// whole window dims it, takes every click, key and shortcut meant for anything behind it,
/// keeps the window from being resized, and slides or fades the content in and out. Each step
/// is posted on the default notification centre with the overlay as object, under the
/// names in uikit/KitNotifications.h. Main thread only.
class MOModalOverlay : public QObject {
    Q_OBJECT
public:
    explicit MOModalOverlay(QObject* parent = nullptr);
    ~MOModalOverlay() override;

    bool isShown() const { return m_shown; }
    bool animates() const { return m_animates; }
    void setAnimates(bool animates) { m_animates = animates; }
    bool shouldCloseWhenClickOnBackground() const { return m_shouldCloseWhenClickOnBackground; }
    void setShouldCloseWhenClickOnBackground(bool value) { m_shouldCloseWhenClickOnBackground = value; }
    bool shouldOverlayTitleBar() const { return m_shouldOverlayTitleBar; }
    void setShouldOverlayTitleBar(bool value) { m_shouldOverlayTitleBar = value; }
    /// The height of the window's own title strip at the top of the content view. With
    /// `shouldOverlayTitleBar` off the strip stays in view, undimmed; it still takes no input
    /// but that of its reachable widgets.
    double titleBarHeight() const { return m_titleBarHeight; }
    void setTitleBarHeight(double height) { m_titleBarHeight = height; }
    using AnimationDirection = OverlayGeometry::AnimationDirection;
    AnimationDirection animationDirection() const { return m_animationDirection; }
    void setAnimationDirection(AnimationDirection direction) { m_animationDirection = direction; }
    MOModalOverlayDelegate* delegate() const { return m_delegate; }
    void setDelegate(MOModalOverlayDelegate* delegate) { m_delegate = delegate; }
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color);

    /// The panel shown over the window; the overlay owns it. Replacing it while shown puts
    /// the new panel where the old one was; the old one is handed back to the caller, hidden
    /// and without parent (uikit/ViewOwnership.h).
    QWidget* contentViewController() const { return m_contentViewController; }
    void setContentViewController(QWidget* contentViewController);

    /// The window last shown over.
    QWidget* parentWindow() const { return m_parentWindow; }

    /// Shows the overlay over `window`; ignored while shown, but a show during the closing
    /// animation finishes that close first. With `shouldOverlayTitleBar` off only the rectangle of
    /// `contentView` (a widget of the window) below the title strip is dimmed; the whole window is
    /// covered for input either way.
    /// No window, or no content to show, is a programming error: asserted ("window is nil",
    /// "contentViewController is nil"), and where assertions are off refused with nothing changed.
    void showInWindow(QWidget* window, QWidget* contentView = nullptr);
    /// Closes without asking the delegate.
    void close();
    /// Closes unless the delegate objects.
    void performClose();
    /// A widget or shortcut of the parent window with this property set to true stays
    /// reachable while the overlay is up (closing the window and quitting, which take
    /// nothing from behind the overlay).
    static constexpr const char* reachableBehindOverlayProperty = "reachableBehindOverlay";
    /// Shakes the content's lock view sideways and returns it to its place.
    void shake();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void afterShow();
    void afterClose();
    void layoutOverlay();
    bool blocks(QObject* receiver) const;
    void focusContent();
    void stopTransition();
    void post(const QString& name);

    QPointer<MOModalOverlayView> m_modalWindow;
    QPointer<MOOverlayView> m_overlayView;
    QPointer<QWidget> m_containerView;
    QPointer<QWidget> m_parentWindow;
    QPointer<QWidget> m_parentContentView;
    QPointer<QWidget> m_contentViewController;
    QPointer<QAbstractAnimation> m_transition;
    QSize m_savedMinimumSize;
    QSize m_savedMaximumSize;
    bool m_wasResizable = false;
    bool m_shown = false;
    bool m_closing = false;
    bool m_animates = true;
    bool m_shouldCloseWhenClickOnBackground = true;
    bool m_shouldOverlayTitleBar = true;
    double m_titleBarHeight = 0;
    AnimationDirection m_animationDirection = AnimationDirection::Fade;
    quint64 m_generation = 0;
    MOModalOverlayDelegate* m_delegate = nullptr;
    QColor m_backgroundColor = QColor::fromRgbF(0, 0, 0, 0.4f);
};
