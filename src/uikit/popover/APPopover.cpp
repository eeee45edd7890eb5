#include "uikit/popover/APPopover.h"

#include "uikit/popover/APPopoverWindow.h"
#include "uikit/popover/APPopoverWindowFrame.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PopoverGeometry.h"

#include "platform/SaneGeometry.h"
#include "platform/YUpGeometry.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPropertyAnimation>
#include <QScreen>
#include <QWindow>

namespace {
constexpr int kFadeMilliseconds = 200;
}

APPopover::APPopover(QWidget* contentView, QObject* parent)
    : QObject(parent), m_popoverWindow(std::make_unique<APPopoverWindow>())
{
    if (contentView) {
        m_popoverWindow->setContentView(contentView);
        m_popoverWindow->setMinimumSize(contentView->size());
    }
    m_popoverWindow->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            applicationDidResignActive();
    });
}

APPopover::~APPopover()
{
    // The window outlives the other members; its hiding must not reach this object.
    m_popoverWindow->removeEventFilter(this);
    if (m_parentWindow)
        m_parentWindow->removeEventFilter(this);
    if (m_fade)
        m_fade->stop();
    // The popover owns its content.
    delete m_popoverWindow->contentView();
}

QWidget* APPopover::contentView() const
{
    return m_popoverWindow->contentView();
}

APPopoverGeometry::Position APPopover::position() const
{
    return m_popoverWindow->popoverPosition();
}
void APPopover::setPosition(APPopoverGeometry::Position position)
{
    m_popoverWindow->setPopoverPosition(position);
}
void APPopover::setDistance(qreal distance)
{
    m_popoverWindow->setDistance(distance);
}
void APPopover::setBorderColor(const QColor& color)
{
    m_popoverWindow->popoverWindowFrame()->setBorderColor(color);
}
void APPopover::setBorderWidth(qreal width)
{
    m_popoverWindow->setBorderWidth(width);
}
void APPopover::setCornerRadius(qreal radius)
{
    m_popoverWindow->setCornerRadius(radius);
}
void APPopover::setDrawsArrow(bool draws)
{
    m_popoverWindow->setDrawsArrow(draws);
}
void APPopover::setArrowWidth(qreal width)
{
    m_popoverWindow->setArrowWidth(width);
}
void APPopover::setArrowHeight(qreal height)
{
    m_popoverWindow->setArrowHeight(height);
}
void APPopover::setDrawRoundCornerBesideArrow(bool rounds)
{
    m_popoverWindow->setDrawRoundCornerBesideArrow(rounds);
}
void APPopover::setViewMargin(qreal margin)
{
    m_popoverWindow->setViewMargin(margin);
}
void APPopover::setBackgroundColor(const QColor& color)
{
    m_popoverWindow->popoverWindowFrame()->setBackgroundColor(color);
}
void APPopover::setMovable(bool movable)
{
    m_popoverWindow->popoverWindowFrame()->setMovable(movable);
}
void APPopover::setResizable(bool resizable)
{
    m_popoverWindow->popoverWindowFrame()->setResizable(resizable);
}

bool APPopover::isVisible() const
{
    return m_state != State::Hidden;
}

QPointF APPopover::toScreenYUp(QWidget* window, const QPointF& point) const
{
    const QPointF global = window ? QPointF(window->mapToGlobal(point.toPoint())) : point;
    return platform::screenToYUp(QRectF(global, QSizeF(0, 0))).topLeft();
}

APPopoverGeometry::Position APPopover::bestPositionInWindow(QWidget* window, const QPointF& requested) const
{
    const QPointF point = platform::sanePoint(requested);
    const QScreen* screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRectF visible = screen ? platform::screenToYUp(QRectF(screen->availableGeometry())) : QRectF();
    std::optional<QRectF> parentFrame;
    if (window)
        parentFrame = platform::screenToYUp(QRectF(window->frameGeometry()));
    return APPopoverGeometry::bestPosition(m_popoverWindow->popoverWindowFrame()->metrics(),
        QSizeF(m_popoverWindow->size()), toScreenYUp(window, point), visible, parentFrame);
}

void APPopover::displayPopoverInWindow(QWidget* window, const QPointF& requested, bool chooseBestLocation)
{
    const QPointF point = platform::sanePoint(requested);
    if (isVisible())
        return;
    if (chooseBestLocation)
        setPosition(bestPositionInWindow(window, point));
    m_parentWindow = window ? window->window() : nullptr;
    ++m_generation;
    m_state = State::Shown;
    movePopoverToPoint(point);
    keepOnScreen(point);
    if (m_parentWindow) {
        m_parentWindow->winId();
        m_popoverWindow->winId();
        m_popoverWindow->windowHandle()->setTransientParent(m_parentWindow->windowHandle());
        m_parentPosition = m_parentWindow->pos();
        m_parentWindow->installEventFilter(this);
    }
    if (m_fade)
        m_fade->stop();
    m_popoverWindow->setWindowOpacity(m_animates ? 0.0 : 1.0);
    m_popoverWindow->show();
    m_popoverWindow->raise();
    m_popoverWindow->activateWindow();
    if (m_animates) {
        auto* fade = new QPropertyAnimation(m_popoverWindow.get(), "windowOpacity", this);
        fade->setDuration(kFadeMilliseconds);
        fade->setEndValue(1.0);
        m_fade = fade;
        fade->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

void APPopover::movePopoverToPoint(const QPointF& point)
{
    const QPointF screenPoint = toScreenYUp(m_parentWindow, platform::sanePoint(point));
    QRectF frame = m_popoverWindow->frameYUp();
    frame.moveTo(screenPoint - m_popoverWindow->popoverWindowFrame()->attachmentPoint());
    m_popoverWindow->setFrameYUp(frame);
}

void APPopover::keepOnScreen(const QPointF& requested)
{
    const QPointF point = platform::sanePoint(requested);
    const QPointF global = m_parentWindow ? QPointF(m_parentWindow->mapToGlobal(point.toPoint())) : point;
    const QScreen* screen = QGuiApplication::screenAt(global.toPoint());
    if (!screen && m_parentWindow)
        screen = m_parentWindow->screen();
    if (!screen)
        return;
    m_popoverWindow->setFrameYUp(PKPopoverGeometry::keptOnScreen(
        m_popoverWindow->frameYUp(), platform::screenToYUp(QRectF(screen->geometry()))));
}

void APPopover::closePopover()
{
    if (m_state != State::Shown)
        return;
    if (!m_animates) {
        orderOut();
        return;
    }
    m_state = State::Closing;
    if (m_fade)
        m_fade->stop();
    auto* fade = new QPropertyAnimation(m_popoverWindow.get(), "windowOpacity", this);
    fade->setDuration(kFadeMilliseconds);
    fade->setEndValue(0.0);
    const quint64 generation = m_generation;
    connect(fade, &QAbstractAnimation::finished, this, [this, generation] {
        if (generation == m_generation && m_state == State::Closing)
            orderOut();
    });
    m_fade = fade;
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void APPopover::orderOut()
{
    m_state = State::Hidden; // first: the hide below is our own
    if (m_fade)
        m_fade->stop();
    if (m_parentWindow)
        m_parentWindow->removeEventFilter(this);
    m_parentWindow = nullptr;
    m_popoverWindow->hide();
    m_popoverWindow->setWindowOpacity(1.0);
}

void APPopover::windowDidResignKey()
{
    if (m_closesWhenPopoverResignsKey)
        closePopover();
}

void APPopover::applicationDidResignActive()
{
    if (m_closesWhenApplicationBecomesInactive)
        closePopover();
}

bool APPopover::eventFilter(QObject* watched, QEvent* event)
{
    // A key no control of the popover or of its parent window took comes up to the window.
    if (event->type() == QEvent::KeyPress && m_closesWhenEscapeKeyPressed && m_state == State::Shown
        && (watched == m_popoverWindow.get() || watched == m_parentWindow)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            closePopover();
            return true;
        }
    }
    if (watched == m_popoverWindow.get() && event->type() == QEvent::ActivationChange
        && !m_popoverWindow->isActiveWindow() && m_state == State::Shown) {
        windowDidResignKey();
    } else if ((watched == m_parentWindow || watched == m_popoverWindow.get()) && m_state != State::Hidden
        && (event->type() == QEvent::Hide || event->type() == QEvent::Close)) {
        orderOut(); // gone with its parent, or closed from outside
    } else if (watched == m_parentWindow && event->type() == QEvent::Move && m_state != State::Hidden) {
        // Follow the parent like a child window does.
        const QPoint delta = m_parentWindow->pos() - m_parentPosition;
        m_parentPosition = m_parentWindow->pos();
        m_popoverWindow->move(m_popoverWindow->pos() + delta);
    }
    return QObject::eventFilter(watched, event);
}
