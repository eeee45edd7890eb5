#include "uikit/popover/PKPopoverWindow.h"

#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindowFrame.h"
#include "uikit/popover/PopoverGeometry.h"
#include "uikit/popover/PopoverShape.h"

#include "platform/SaneGeometry.h"
#include "platform/YUpGeometry.h"

#include <QKeyEvent>
#include <QLabel>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QWindow>

namespace {
constexpr int kWindowFadeMilliseconds = 200;
constexpr int kPopMilliseconds = 250;
} // namespace

PKPopoverWindow::PKPopoverWindow() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_frameView = new PKPopoverWindowFrame(this);
    m_frameView->setGeometry(rect());
    connect(m_frameView, &PKPopoverWindowFrame::outlineChanged, this, &PKPopoverWindow::updateShape);
}

PKPopoverWindow::~PKPopoverWindow()
{
    stopAnimations();
    // The content belongs to the controller, which detaches it before the window goes.
    if (m_popoverContentView)
        m_popoverContentView->setParent(nullptr);
}

void PKPopoverWindow::setPopoverContentView(QWidget* view)
{
    if (view == m_popoverContentView)
        return;
    if (m_popoverContentView) {
        m_popoverContentView->hide();
        m_popoverContentView->setParent(nullptr);
    }
    m_popoverContentView = view;
    if (view) {
        view->setParent(m_frameView);
        layoutContent();
        view->show();
    }
}

QRectF PKPopoverWindow::frameRectForContentRect(const QRectF& content) const
{
    return PKPopoverGeometry::frameRectForContentRect(content, m_frameView->arrowSize().height());
}

QRectF PKPopoverWindow::contentRectForFrameRect(const QRectF& frame) const
{
    return PKPopoverGeometry::contentRectForFrameRect(frame, m_frameView->arrowSize().height());
}

QRectF PKPopoverWindow::frameYUp() const
{
    return platform::screenToYUp(QRectF(geometry()));
}

void PKPopoverWindow::setFrameYUp(const QRectF& frame)
{
    setGeometry(platform::screenToYDown(platform::saneRect(frame)).toRect());
}

bool PKPopoverWindow::popoverIsVisible() const
{
    return isVisible() || (m_zoomWindow && m_zoomWindow->isVisible());
}

void PKPopoverWindow::presentAnimated()
{
    if (popoverIsVisible())
        return;
    using Type = PKPopoverController::AnimationType;
    const Type type = m_popoverController ? m_popoverController->animationType() : Type::FadeInOut;
    // The pop's snapshot window cannot be cut to the panel while it grows, so without a
    // compositor the popover fades in instead (which shows it at once there).
    if (type == Type::Pop && PopoverShape::compositingManagerRunning())
        presentWithPopAnimation();
    else if (type == Type::Pop)
        presentWithFadeAnimation();
    else if (type == Type::FadeIn || type == Type::FadeInOut)
        presentWithFadeAnimation();
}

void PKPopoverWindow::presentWithFadeAnimation()
{
    setWindowOpacity(0.0);
    show();
    raise();
    activateWindow();
    auto* fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(kWindowFadeMilliseconds);
    fade->setEndValue(1.0);
    startAnimation(fade);
}

void PKPopoverWindow::presentWithPopAnimation()
{
    const QRectF final = frameYUp();
    const PKPopoverGeometry::ArrowDirection direction = m_frameView->arrowDirection();
    QRectF start = final;
    QRectF overshoot = final;
    if (m_popoverController) {
        start = m_popoverController->popoverFrameWithSize(QSizeF(20, 20), direction);
        overshoot = m_popoverController->popoverFrameWithSize(final.size() * 1.2, direction);
    }
    // Render the panel once for the snapshot; the window itself stays off screen meanwhile.
    ensurePolished();
    m_zoomWindow = static_cast<QLabel*>(makeZoomWindow(start));
    m_zoomWindow->setWindowOpacity(0.0);
    m_zoomWindow->show();

    auto* group = new QParallelAnimationGroup(this);
    auto* frame = new QPropertyAnimation(m_zoomWindow.data(), "geometry", group);
    frame->setDuration(kPopMilliseconds);
    frame->setKeyValueAt(0.0, platform::screenToYDown(start).toRect());
    frame->setKeyValueAt(0.5, platform::screenToYDown(overshoot).toRect());
    frame->setKeyValueAt(1.0, platform::screenToYDown(final).toRect());
    auto* alpha = new QPropertyAnimation(m_zoomWindow.data(), "windowOpacity", group);
    alpha->setDuration(kPopMilliseconds);
    alpha->setEndValue(1.0);
    group->addAnimation(frame);
    group->addAnimation(alpha);
    connect(group, &QAbstractAnimation::finished, this, &PKPopoverWindow::endPop);
    m_animation = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void PKPopoverWindow::endPop()
{
    orderFrontAndMakeKey();
    if (m_zoomWindow) {
        m_zoomWindow->close();
        m_zoomWindow->deleteLater();
        m_zoomWindow = nullptr;
    }
    Q_EMIT animationDidStop();
}

void PKPopoverWindow::dismissAnimated()
{
    stopAnimations();
    auto* fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(kWindowFadeMilliseconds);
    fade->setEndValue(0.0);
    startAnimation(fade);
}

void PKPopoverWindow::startAnimation(QAbstractAnimation* animation)
{
    stopAnimations();
    connect(animation, &QAbstractAnimation::finished, this, &PKPopoverWindow::animationDidStop);
    m_animation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void PKPopoverWindow::stopAnimations()
{
    if (m_animation) {
        QAbstractAnimation* animation = m_animation;
        m_animation = nullptr;
        animation->disconnect(this);
        animation->stop();
    }
    if (m_zoomWindow) {
        m_zoomWindow->close();
        m_zoomWindow->deleteLater();
        m_zoomWindow = nullptr;
    }
}

bool PKPopoverWindow::isAnimating() const
{
    return m_animation && m_animation->state() == QAbstractAnimation::Running;
}

void PKPopoverWindow::orderFrontAndMakeKey()
{
    setWindowOpacity(1.0);
    show();
    raise();
    activateWindow();
}

void PKPopoverWindow::cancelOperation()
{
    if (m_popoverController && m_popoverController->closesWhenEscapeKeyPressed())
        m_popoverController->closePopover();
}

void PKPopoverWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cancelOperation();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PKPopoverWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        Q_EMIT didResignKey();
}

void PKPopoverWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutContent();
    updateShape();
}

void PKPopoverWindow::showEvent(QShowEvent* event)
{
    updateShape(); // a compositor may have come or gone since the last show
    QWidget::showEvent(event);
}

void PKPopoverWindow::updateShape()
{
    PopoverShape::applyMask(this, [this] {
        return PopoverShape::maskRegion(m_frameView->outlinePath(), size(), m_frameView->borderWidth());
    });
}

void PKPopoverWindow::layoutContent()
{
    m_frameView->setGeometry(rect());
    if (m_popoverContentView)
        m_popoverContentView->setGeometry(contentRectForFrameRect(QRectF(rect())).toRect());
}

QWidget* PKPopoverWindow::makeZoomWindow(const QRectF& yUpFrame)
{
    auto* zoom = new QLabel(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    zoom->setAttribute(Qt::WA_TranslucentBackground);
    zoom->setAttribute(Qt::WA_ShowWithoutActivating);
    zoom->setAttribute(Qt::WA_TransparentForMouseEvents);
    zoom->setScaledContents(true);
    zoom->setPixmap(grab());
    zoom->setGeometry(platform::screenToYDown(yUpFrame).toRect());
    if (windowHandle() && windowHandle()->transientParent()) {
        zoom->winId();
        zoom->windowHandle()->setTransientParent(windowHandle()->transientParent());
    }
    return zoom;
}

QWidget* PKPopoverWindow::zoomWindow() const
{
    return m_zoomWindow.data();
}
