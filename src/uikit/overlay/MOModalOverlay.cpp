#include "uikit/overlay/MOModalOverlay.h"

#include "uikit/ViewOwnership.h"

#include "uikit/overlay/MOOverlayView.h"
#include "uikit/overlay/OverlayGeometry.h"

#include "platform/Dispatch.h"

#include <QAction>
#include <QApplication>
#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QMainWindow>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QShortcut>
#include <QWidget>

#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr int kTransitionMilliseconds = 800;
constexpr int kShakeMilliseconds = 300;

// Converts a y-up offset to Qt's y-down.
QPoint toQt(const QPointF& offset)
{
    return QPointF(offset.x(), -offset.y()).toPoint();
}

// A transition that fades `window` from `from` to `to`; the caller adds a slide, connects
// its end and starts it.
QParallelAnimationGroup* fadeTransition(QObject* owner, QWidget* window, qreal from, qreal to)
{
    auto* effect = new QGraphicsOpacityEffect(window);
    effect->setOpacity(from);
    window->setGraphicsEffect(effect);
    auto* group = new QParallelAnimationGroup(owner);
    auto* fade = new QPropertyAnimation(effect, "opacity", group);
    fade->setDuration(kTransitionMilliseconds);
    fade->setEndValue(to);
    fade->setEasingCurve(QEasingCurve::InOutQuad);
    group->addAnimation(fade);
    return group;
}

// Adds to `group` a slide of `content` to `end`, from `start` or else from where it is.
void addSlide(QParallelAnimationGroup* group, QWidget* content, std::optional<QPoint> start, QPoint end)
{
    auto* slide = new QPropertyAnimation(content, "pos", group);
    slide->setDuration(kTransitionMilliseconds);
    slide->setEasingCurve(QEasingCurve::InOutQuad);
    if (start)
        slide->setStartValue(*start);
    slide->setEndValue(end);
    group->addAnimation(slide);
}
} // namespace

MOModalOverlay::MOModalOverlay(QObject* parent) : QObject(parent)
{
    auto& center = platform::NotificationCenter::defaultCenter();
    const QVariant self = QVariant::fromValue<QObject*>(this);
    // Plain function pointers rather than pointers to members: GCC's sanitizer build
    // reports the latter as "maybe uninitialized" inside std::function.
    using DelegateCall = void (*)(MOModalOverlayDelegate&, const platform::Notification&);
    const auto forward = [this](DelegateCall call) {
        return [this, call](const platform::Notification& n) {
            if (m_delegate)
                call(*m_delegate, n);
        };
    };
    center.addObserver(this, notifications::modalOverlayWillShow,
        forward(
            [](MOModalOverlayDelegate& d, const platform::Notification& n) { d.modalOverlayWillShow(n); }),
        self);
    center.addObserver(this, notifications::modalOverlayDidShow,
        forward([](MOModalOverlayDelegate& d, const platform::Notification& n) { d.modalOverlayDidShow(n); }),
        self);
    center.addObserver(this, notifications::modalOverlayWillClose,
        forward(
            [](MOModalOverlayDelegate& d, const platform::Notification& n) { d.modalOverlayWillClose(n); }),
        self);
    center.addObserver(this, notifications::modalOverlayDidClose,
        forward(
            [](MOModalOverlayDelegate& d, const platform::Notification& n) { d.modalOverlayDidClose(n); }),
        self);
}

MOModalOverlay::~MOModalOverlay()
{
    qApp->removeEventFilter(this);
    if (m_parentWindow)
        m_parentWindow->removeEventFilter(this);
    if (m_shown && m_parentWindow && m_wasResizable) {
        m_parentWindow->setMinimumSize(m_savedMinimumSize);
        m_parentWindow->setMaximumSize(m_savedMaximumSize);
    }
    delete m_contentViewController.data();
    delete m_modalWindow.data();
}

void MOModalOverlay::post(const QString& name)
{
    platform::NotificationCenter::defaultCenter().post(name, QVariant::fromValue<QObject*>(this));
}

void MOModalOverlay::setBackgroundColor(const QColor& color)
{
    if (color == m_backgroundColor)
        return;
    m_backgroundColor = color;
    if (m_overlayView)
        m_overlayView->setBackgroundColor(color);
}

void MOModalOverlay::setContentViewController(QWidget* contentViewController)
{
    if (contentViewController == m_contentViewController)
        return;
    QWidget* old = m_contentViewController;
    m_contentViewController = contentViewController;
    if (m_shown && m_containerView && contentViewController) {
        contentViewController->setParent(m_containerView);
        contentViewController->setGeometry(m_containerView->rect());
        contentViewController->show();
        focusContent();
    }
    ViewOwnership::handBack(old);
}

void MOModalOverlay::showInWindow(QWidget* window, QWidget* contentView)
{
    if (m_shown && !m_closing)
        return;
    Q_ASSERT_X(window, "MOModalOverlay::showInWindow", "window is nil");
    Q_ASSERT_X(m_contentViewController, "MOModalOverlay::showInWindow", "contentViewController is nil");
    if (!window || !m_contentViewController)
        return;
    if (m_closing)
        afterClose(); // a show during the closing animation ends the close now

    post(notifications::modalOverlayWillShow);
    window = window->window();
    m_parentWindow = window;
    m_parentContentView = contentView;
    m_shown = true;
    m_closing = false;
    const quint64 generation = ++m_generation;

    m_wasResizable = window->minimumSize() != window->maximumSize();
    if (m_wasResizable) {
        m_savedMinimumSize = window->minimumSize();
        m_savedMaximumSize = window->maximumSize();
        window->setFixedSize(window->size());
    }
    delete m_modalWindow.data();

    m_modalWindow = new MOModalOverlayView(window);
    m_modalWindow->setObjectName(QStringLiteral("modalWindow"));
    m_overlayView = new MOOverlayView(m_modalWindow);
    m_overlayView->setObjectName(QStringLiteral("overlayView"));
    m_overlayView->setBackgroundColor(m_backgroundColor);
    m_overlayView->setModalOverlay(this);
    m_containerView = new QWidget(m_overlayView);
    QWidget* content = m_contentViewController;
    content->setParent(m_containerView);
    layoutOverlay();
    window->installEventFilter(this);
    qApp->installEventFilter(this);
    // A window destroyed under the overlay takes the overlay's widgets with it.
    connect(window, &QObject::destroyed, this, [this, generation] {
        if (generation != m_generation || !m_shown)
            return;
        stopTransition();
        qApp->removeEventFilter(this);
        m_shown = false;
        m_closing = false;
    });
    m_modalWindow->show();
    m_modalWindow->raise();
    content->show();
    focusContent();

    if (!m_animates) {
        afterShow();
        return;
    }
    auto* group = fadeTransition(this, m_modalWindow, 0.0, 1.0);
    if (OverlayGeometry::slides(m_animationDirection)) {
        addSlide(group, content,
            toQt(OverlayGeometry::appearStartOffset(m_animationDirection, m_containerView->size())),
            QPoint(0, 0));
    }
    connect(group, &QAbstractAnimation::finished, this, [this, generation] {
        if (generation == m_generation && m_shown && !m_closing)
            afterShow();
    });
    m_transition = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void MOModalOverlay::afterShow()
{
    if (m_modalWindow)
        m_modalWindow->setGraphicsEffect(nullptr);
    post(notifications::modalOverlayDidShow);
}

void MOModalOverlay::close()
{
    if (!m_shown || m_closing)
        return;
    m_closing = true;
    stopTransition();
    post(notifications::modalOverlayWillClose);
    const quint64 generation = m_generation;
    QWidget* content = m_contentViewController;
    if (!m_animates || !m_modalWindow) {
        afterClose();
        return;
    }
    auto* group = fadeTransition(this, m_modalWindow, 1.0, 0.0);
    if (content && m_containerView && OverlayGeometry::slides(m_animationDirection)) {
        addSlide(group, content, std::nullopt,
            toQt(OverlayGeometry::disappearEndOffset(m_animationDirection, m_containerView->size())));
    }
    connect(group, &QAbstractAnimation::finished, this, [this, generation] {
        platform::runLater(this, [this, generation] {
            if (generation == m_generation && m_closing)
                afterClose();
        });
    });
    m_transition = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void MOModalOverlay::stopTransition()
{
    if (m_transition)
        m_transition->stop();
    m_transition = nullptr;
}

void MOModalOverlay::afterClose()
{
    stopTransition();
    qApp->removeEventFilter(this);
    if (m_parentWindow)
        m_parentWindow->removeEventFilter(this);
    if (m_contentViewController) {
        // The content outlives the overlay window; it belongs to the overlay.
        m_contentViewController->hide();
        m_contentViewController->setParent(nullptr);
    }
    delete m_modalWindow.data();
    if (m_parentWindow && m_wasResizable) {
        m_parentWindow->setMinimumSize(m_savedMinimumSize);
        m_parentWindow->setMaximumSize(m_savedMaximumSize);
    }
    m_shown = false;
    m_closing = false;
    post(notifications::modalOverlayDidClose);
}

void MOModalOverlay::performClose()
{
    if (m_delegate && !m_delegate->modalOverlayShouldClose(this))
        return;
    close();
}

void MOModalOverlay::shake()
{
    auto* provider = dynamic_cast<MOModalOverlayContent*>(m_contentViewController.data());
    QWidget* lockView = provider ? provider->lockView() : nullptr;
    if (!lockView)
        return;
    const QPoint origin = lockView->pos();
    const QList<qreal> xs = OverlayGeometry::shakePositions(origin.x(), lockView->width());
    auto* animation = new QPropertyAnimation(lockView, "pos", lockView);
    animation->setDuration(kShakeMilliseconds);
    for (int i = 0; i < xs.size(); ++i)
        animation->setKeyValueAt(qreal(i) / (xs.size() - 1), QPoint(qRound(xs[i]), origin.y()));
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void MOModalOverlay::layoutOverlay()
{
    if (!m_modalWindow || !m_parentWindow)
        return;
    m_modalWindow->setGeometry(m_parentWindow->rect());
    QRect dim = m_modalWindow->rect();
    if (!m_shouldOverlayTitleBar) {
        QWidget* contentView = m_parentContentView;
        if (!contentView) {
            if (auto* main = qobject_cast<QMainWindow*>(m_parentWindow.data()))
                contentView = main->centralWidget();
        }
        if (contentView && contentView != m_parentWindow)
            dim = QRect(contentView->mapTo(m_parentWindow.data(), QPoint(0, 0)), contentView->size());
        dim.setTop(std::max(dim.top(), qRound(m_titleBarHeight)));
    }
    m_overlayView->setGeometry(dim);
    m_containerView->setGeometry(m_overlayView->rect());
    // Input over a widget that stays reachable goes to that widget, not to the overlay.
    QRegion input(m_modalWindow->rect());
    const auto widgets = m_parentWindow->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (widget->isVisible() && widget->property(reachableBehindOverlayProperty).toBool())
            input -= QRect(widget->mapTo(m_parentWindow.data(), QPoint(0, 0)), widget->size());
    }
    if (input == QRegion(m_modalWindow->rect()))
        m_modalWindow->clearMask();
    else
        m_modalWindow->setMask(input);
    if (m_contentViewController)
        m_contentViewController->setGeometry(m_containerView->rect());
}

void MOModalOverlay::focusContent()
{
    if (!m_contentViewController)
        return;
    QWidget* target = m_contentViewController;
    if (target->focusPolicy() == Qt::NoFocus) {
        target->setFocusPolicy(Qt::StrongFocus);
    }
    QWidget* next = target->nextInFocusChain();
    while (next && next != target && !(target->isAncestorOf(next) && next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    (next && next != target ? next : target)->setFocus(Qt::OtherFocusReason);
}

bool MOModalOverlay::blocks(QObject* receiver) const
{
    if (!m_parentWindow || !m_modalWindow)
        return false;
    if (receiver->property(reachableBehindOverlayProperty).toBool())
        return false;
    const auto behind = [this](const QWidget* w) {
        return w && w->window() == m_parentWindow && w != m_modalWindow && !m_modalWindow->isAncestorOf(w);
    };
    if (auto* widget = qobject_cast<QWidget*>(receiver))
        return behind(widget);
    if (auto* shortcut = qobject_cast<QShortcut*>(receiver))
        return behind(qobject_cast<QWidget*>(shortcut->parent()));
    if (auto* action = qobject_cast<QAction*>(receiver)) {
        const auto objects = action->associatedObjects();
        for (QObject* object : objects) {
            if (behind(qobject_cast<QWidget*>(object)))
                return true;
        }
    }
    return false;
}

bool MOModalOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_shown)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == m_parentWindow)
            layoutOverlay();
        break;
    case QEvent::ChildAdded:
        if (watched == m_parentWindow && m_modalWindow) {
            QPointer<QWidget> top = m_modalWindow.data();
            platform::runLater(this, [top] {
                if (top)
                    top->raise();
            });
        }
        break;
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::DragEnter:
    case QEvent::Drop:
        if (blocks(watched))
            return true;
        break;
    case QEvent::FocusIn:
        if (blocks(watched))
            platform::runLater(this, [this] { focusContent(); });
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
