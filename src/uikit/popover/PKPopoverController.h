#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QSizeF>

#include "uikit/popover/PopoverGeometry.h"

#include <functional>
#include <memory>
#include <optional>

class PKPopoverController;
class PKPopoverWindow;
class QWidget;

/// Told when a popover shown with an animation has appeared.
class PKPopoverControllerDelegate {
public:
    virtual ~PKPopoverControllerDelegate() = default;
    virtual void popoverDidShow(PKPopoverController*) { }
};

/// The controller behind every in-window popover: it owns the popover window and its content,
/// places the panel beside an anchor rectangle of a view, keeps it attached while shown, shows
/// and hides it with or without animation, and closes it on Escape, on loss of the keyboard or
/// when the application goes inactive, as configured. Main thread only.
///
/// Every show gets a new generation and the controller keeps an explicit state, so a popover
/// closed and shown again within one turn of the event loop is shown normally.
class PKPopoverController : public QObject {
    Q_OBJECT
public:
    using Block = std::function<void(PKPopoverController*)>;
    using ShouldCloseBlock = std::function<bool(PKPopoverController*)>;
    enum class State { Hidden, Showing, Shown, Closing };
    /// How the popover appears and goes away.
    enum class AnimationType {
        Pop = 0, // pops in, fades out
        FadeIn = 1, // fades in, closes at once
        FadeOut = 2, // appears at once, fades out
        FadeInOut = 3,
    };

    explicit PKPopoverController(QObject* parent = nullptr);
    /// Takes ownership of `contentViewController`.
    explicit PKPopoverController(QWidget* contentViewController, QObject* parent = nullptr);
    ~PKPopoverController() override;

    /// Owned by the controller; created with it and never replaced.
    PKPopoverWindow* popoverWindow() const { return m_popoverWindow.get(); }
    QWidget* contentView() const;
    QWidget* contentViewController() const { return m_contentViewController; }
    /// Takes ownership of the new content; the previous content is handed back to the
    /// caller, hidden and without parent (uikit/ViewOwnership.h).
    void setContentViewController(QWidget* contentViewController);
    QWidget* positionView() const { return m_positionView; }

    /// The anchor in y-up screen coordinates while shown; zero while hidden.
    QRectF screenRect() const { return m_screenRect; }
    /// The anchor in the position view's (Qt) coordinates while shown; zero while hidden.
    QRectF viewRect() const { return m_viewRect; }

    bool closesWhenEscapeKeyPressed() const { return m_closesWhenEscapeKeyPressed; }
    void setClosesWhenEscapeKeyPressed(bool value) { m_closesWhenEscapeKeyPressed = value; }
    bool closesWhenPopoverResignsKey() const { return m_closesWhenPopoverResignsKey; }
    void setClosesWhenPopoverResignsKey(bool value) { m_closesWhenPopoverResignsKey = value; }
    /// A press in the parent window closes the popover as losing the keyboard would: a window
    /// manager need not move the keyboard on a click (and without one nothing moves it).
    bool closesWhenParentWindowClicked() const { return m_closesWhenParentWindowClicked; }
    void setClosesWhenParentWindowClicked(bool value) { m_closesWhenParentWindowClicked = value; }
    bool closesWhenApplicationBecomesInactive() const { return m_closesWhenApplicationBecomesInactive; }
    void setClosesWhenApplicationBecomesInactive(bool value)
    {
        m_closesWhenApplicationBecomesInactive = value;
    }
    bool animates() const { return m_animates; }
    void setAnimates(bool value) { m_animates = value; }
    /// Values outside Pop-FadeInOut are ignored.
    AnimationType animationType() const { return m_animationType; }
    void setAnimationType(AnimationType type);
    PKPopoverControllerDelegate* delegate() const { return m_delegate; }
    void setDelegate(PKPopoverControllerDelegate* delegate) { m_delegate = delegate; }

    void setWillCloseBlock(Block block) { m_willCloseBlock = std::move(block); }
    void setShouldCloseBlock(ShouldCloseBlock block) { m_shouldCloseBlock = std::move(block); }
    void setDidCloseBlock(Block block) { m_didCloseBlock = std::move(block); }
    void setWillShowBlock(Block block) { m_willShowBlock = std::move(block); }
    void setDidShowBlock(Block block) { m_didShowBlock = std::move(block); }

    /// Content that was not given a size when it came is sized by its size hint, and the
    /// popover grows while it is shown when the content needs more room (a message that wraps
    /// onto more lines), back to no less than that first size. A size set here stays.
    QSizeF contentSize() const { return m_contentSize; }
    void setContentSize(const QSizeF& size);

    QColor color() const;
    void setColor(const QColor& color);
    QColor borderColor() const;
    void setBorderColor(const QColor& color);
    QColor topHighlightColor() const;
    void setTopHighlightColor(const QColor& color);
    qreal borderWidth() const;
    void setBorderWidth(qreal width);
    qreal cornerRadius() const;
    void setCornerRadius(qreal radius);
    QSizeF arrowSize() const;
    void setArrowSize(const QSizeF& size);
    PKPopoverGeometry::ArrowDirection arrowDirection() const;

    bool popoverIsVisible() const { return m_state != State::Hidden; }
    bool shown() const { return popoverIsVisible(); }
    /// Whether any popover is still fading in or out.
    static bool anyPopoverMoving();
    State state() const { return m_state; }
    /// Increases with every show.
    quint64 generation() const { return m_generation; }

    /// Shows the popover beside `rect` (in `view`'s coordinates) on the preferred edge (y-up).
    void showRelativeToRect(const QRectF& rect, QWidget* view, platform::RectEdge preferredEdge);
    void presentPopoverFromRect(const QRectF& rect, QWidget* view,
        PKPopoverGeometry::ArrowDirection preferredArrowDirection, bool anchorsToPositionView);

    /// Ordinary close, subject to `shouldCloseBlock`.
    void closePopover();
    void close() { closePopover(); }
    /// Close without asking `shouldCloseBlock`.
    void forceClosePopover();

    void recalculateAndResetArrowDirection();
    /// The window frame (y-up screen coordinates) for a content size and direction at the
    /// current anchor.
    QRectF popoverFrameWithSize(const QSizeF& contentSize, PKPopoverGeometry::ArrowDirection direction) const;

    /// The toggle of a command button whose popover is made anew at each opening: closes
    /// `popover` when it is shown and lets it go (deleted once back in the event loop), leaving
    /// `popover` null. True when it was shown: the press only closed it.
    static bool dropPopover(QPointer<PKPopoverController>& popover);
    /// Every popover of the application that is shown now, oldest first.
    static QList<PKPopoverController*> shownPopovers();
    /// Closes every shown popover (before the model is replaced or the window is locked, so
    /// that no editor writes into what is gone or shows what is locked).
    static void closeAllShownPopovers();

    void setDefaultProperties_ItemEdit();
    void setDefaultProperties_ItemWarning();
    void setDefaultProperties(bool escape, bool resign, bool inactive);

    /// Handlers of the window and application events; public so that the closing rules can
    /// be driven directly.
    void popoverWindowDidResignKey();
    void applicationDidResignActive();
    void applicationDidBecomeActive();
    void checkPopoverKeyWindowStatus();

    /// Whether the application is active. Tests may fix the answer; none returns to Qt's.
    static bool isApplicationActive();
    static void setApplicationActiveOverride(std::optional<bool> active);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Input anywhere in the application while shown: Escape and presses in the parent
    /// window, and the end of a click that decides a close. True consumes the event.
    bool applicationInput(QObject* receiver, QEvent* event);

private:
    void initialValues();
    void fitContent();
    void animationDidStop();
    void finishShow();
    void closePopoverAndResetVariables();
    PKPopoverGeometry::ArrowDirection arrowDirectionWithPreferredArrowDirection(
        PKPopoverGeometry::ArrowDirection preferred) const;
    void resignKeyCheck(quint64 generation);
    void parentClickCheck(quint64 generation);
    void positionViewFrameChanged();
    void parentWindowMoved();
    QRectF anchorOnScreen() const;
    QRectF screenFrame() const;
    /// The window's size around content of `contentSize`: the arrow's margin on every side.
    QSizeF frameSizeFor(const QSizeF& contentSize) const;
    /// Places the window at the current anchor, keeping its size when asked.
    void placeWindow(bool keepWindowSize);
    void startObserving(bool anchors);
    void stopObserving();

    std::unique_ptr<PKPopoverWindow> m_popoverWindow;
    QPointer<QWidget> m_contentViewController;
    QPointer<QWidget> m_positionView;
    QPointer<QWidget> m_parentWindow;
    QRectF m_screenRect;
    QRectF m_viewRect;
    QPoint m_parentPosition;
    QSizeF m_contentSize;
    /// The content's hint when it came, while the popover follows the content's needs.
    std::optional<QSizeF> m_hintedContentSize;
    bool m_closesWhenEscapeKeyPressed = true;
    bool m_closesWhenPopoverResignsKey = true;
    bool m_closesWhenApplicationBecomesInactive = false;
    bool m_closesWhenParentWindowClicked = true;
    bool m_animates = true;
    bool m_anchors = false;
    AnimationType m_animationType = AnimationType::Pop;
    PKPopoverControllerDelegate* m_delegate = nullptr;
    Block m_willCloseBlock;
    ShouldCloseBlock m_shouldCloseBlock;
    Block m_didCloseBlock;
    Block m_willShowBlock;
    Block m_didShowBlock;
    State m_state = State::Hidden;
    quint64 m_generation = 0;
    QList<QMetaObject::Connection> m_observers;
    std::optional<quint64> m_resignKeyCheckOnRelease;
    std::optional<quint64> m_parentClickCheckOnRelease;
    std::unique_ptr<QObject> m_inputWatcher;
};
