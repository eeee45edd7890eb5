#pragma once

#include "uikit/popover/APPopoverGeometry.h"

#include <QColor>
#include <QObject>
#include <QPointF>
#include <QPointer>

#include <memory>

class APPopoverWindow;
class QPropertyAnimation;
class QWidget;

/// A content view in a frameless child window next to a point of a parent window, with an
/// optional arrow at that point. Twelve positions (see APPopoverGeometry); fades in and out.
/// Main thread only.
class APPopover : public QObject {
    Q_OBJECT
public:
    /// Takes ownership of `contentView` (may be null).
    explicit APPopover(QWidget* contentView = nullptr, QObject* parent = nullptr);
    ~APPopover() override;

    /// Owned by the popover.
    APPopoverWindow* popoverWindow() const { return m_popoverWindow.get(); }
    QWidget* contentView() const;

    bool animates() const { return m_animates; }
    void setAnimates(bool animates) { m_animates = animates; }
    /// Escape without modifiers, pressed in the popover or in its parent window, closes it.
    bool closesWhenEscapeKeyPressed() const { return m_closesWhenEscapeKeyPressed; }
    void setClosesWhenEscapeKeyPressed(bool value) { m_closesWhenEscapeKeyPressed = value; }
    bool closesWhenPopoverResignsKey() const { return m_closesWhenPopoverResignsKey; }
    void setClosesWhenPopoverResignsKey(bool value) { m_closesWhenPopoverResignsKey = value; }
    bool closesWhenApplicationBecomesInactive() const { return m_closesWhenApplicationBecomesInactive; }
    void setClosesWhenApplicationBecomesInactive(bool value)
    {
        m_closesWhenApplicationBecomesInactive = value;
    }

    APPopoverGeometry::Position position() const;
    void setPosition(APPopoverGeometry::Position position);
    void setDistance(qreal distance);
    void setBorderColor(const QColor& color);
    void setBorderWidth(qreal width);
    void setCornerRadius(qreal radius);
    void setDrawsArrow(bool draws);
    void setArrowWidth(qreal width);
    void setArrowHeight(qreal height);
    void setDrawRoundCornerBesideArrow(bool rounds);
    void setViewMargin(qreal margin);
    /// An invalid colour: the window colour of the shown palette, also after a switch.
    void setBackgroundColor(const QColor& color);
    void setMovable(bool movable);
    void setResizable(bool resizable);

    bool isVisible() const;

    // Points are brought into range first (`platform::sanePoint`).
    /// Picks a position for showing at `point` (in `window`'s coordinates).
    APPopoverGeometry::Position bestPositionInWindow(QWidget* window, const QPointF& point) const;
    /// Shows the popover with its attachment point at `point` of `window` (global when null).
    void displayPopoverInWindow(QWidget* window, const QPointF& point, bool chooseBestLocation = false);
    /// Places the attachment point at `point` of the parent window.
    void movePopoverToPoint(const QPointF& point);
    void closePopover();

    void windowDidResignKey();
    void applicationDidResignActive();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class State { Hidden, Shown, Closing };
    QPointF toScreenYUp(QWidget* window, const QPointF& point) const;
    /// Moves the shown window onto the screen that holds `point` (in the parent's coordinates).
    void keepOnScreen(const QPointF& point);
    void orderOut();

    std::unique_ptr<APPopoverWindow> m_popoverWindow;
    QPointer<QWidget> m_parentWindow;
    QPointer<QPropertyAnimation> m_fade;
    QPoint m_parentPosition;
    bool m_animates = true;
    bool m_closesWhenEscapeKeyPressed = false;
    bool m_closesWhenPopoverResignsKey = false;
    bool m_closesWhenApplicationBecomesInactive = false;
    State m_state = State::Hidden;
    quint64 m_generation = 0;
};
