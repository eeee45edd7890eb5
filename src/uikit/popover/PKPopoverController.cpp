#include "uikit/popover/PKPopoverController.h"

#include "uikit/ViewOwnership.h"
#include "uikit/popover/PKPopoverParentWindow.h"
#include "uikit/popover/PKPopoverWindow.h"
#include "uikit/popover/PKPopoverWindowFrame.h"
#include "uikit/popover/PopoverColors.h"
#include "uikit/popover/PopoverGeometry.h"
#include "uikit/popover/PopoverLimits.h"

#include "platform/Dispatch.h"
#include "platform/YUpGeometry.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <utility>

namespace {
std::optional<bool> g_applicationActiveOverride;

QSizeF preferredSize(const QWidget* view)
{
    if (!view)
        return {};
    if (view->testAttribute(Qt::WA_Resized))
        return PopoverLimits::contentSize(view->size());
    const QSize hint = view->sizeHint();
    return PopoverLimits::contentSize(hint.isValid() ? QSizeF(hint) : QSizeF(view->size()));
}

// Content sized by its hint keeps its first width and grows to what it needs at that width
// (wrapped text that got longer), never below its first size.
QSizeF fittedContentSize(const QWidget* view, const QSizeF& first)
{
    if (view->hasHeightForWidth()) {
        const int needed = view->heightForWidth(qRound(first.width()));
        return { first.width(), std::max<qreal>(first.height(), needed) };
    }
    return first.expandedTo(QSizeF(view->sizeHint()));
}

// Hands every event of the application to a function while installed.
class InputWatcher : public QObject {
public:
    explicit InputWatcher(std::function<bool(QObject*, QEvent*)> handler) : m_handler(std::move(handler)) { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return m_handler(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> m_handler;
};
// Every popover controller alive, in the order made (main thread only).
QList<PKPopoverController*>& livePopovers()
{
    static QList<PKPopoverController*> popovers;
    return popovers;
}
} // namespace

PKPopoverController::PKPopoverController(QObject* parent) : QObject(parent)
{
    initialValues();
    livePopovers().append(this);
}

PKPopoverController::PKPopoverController(QWidget* contentViewController, QObject* parent) : QObject(parent)
{
    initialValues();
    setContentViewController(contentViewController);
    livePopovers().append(this);
}

PKPopoverController::~PKPopoverController()
{
    livePopovers().removeOne(this);
    // The window outlives the other members; its hiding must not reach this object.
    m_popoverWindow->removeEventFilter(this);
    stopObserving();
    m_popoverWindow->stopAnimations();
    m_popoverWindow->setPopoverController(nullptr);
    m_popoverWindow->setPopoverContentView(nullptr);
    if (m_contentViewController)
        m_contentViewController->removeEventFilter(this);
    delete m_contentViewController.data();
}

void PKPopoverController::initialValues()
{
    m_popoverWindow = std::make_unique<PKPopoverWindow>();
    m_popoverWindow->setPopoverController(this);
    m_popoverWindow->installEventFilter(this);
    connect(m_popoverWindow.get(), &PKPopoverWindow::animationDidStop, this,
        &PKPopoverController::animationDidStop);
    m_popoverWindow->frameView()->setColor(PopoverColors::plainFill());
    m_popoverWindow->frameView()->setBorderColor(PopoverColors::plainEdge());
    setBorderWidth(1.0);
    m_closesWhenEscapeKeyPressed = true;
    m_closesWhenPopoverResignsKey = true;
    m_closesWhenApplicationBecomesInactive = false;
    m_closesWhenParentWindowClicked = true;
    m_animates = true;
    m_animationType = AnimationType::Pop;
    m_inputWatcher = std::make_unique<InputWatcher>(
        [this](QObject* receiver, QEvent* event) { return applicationInput(receiver, event); });
}

QWidget* PKPopoverController::contentView() const
{
    return m_popoverWindow->popoverContentView();
}

void PKPopoverController::setContentViewController(QWidget* contentViewController)
{
    if (contentViewController == m_contentViewController)
        return;
    m_popoverWindow->setPopoverContentView(nullptr);
    if (m_contentViewController) {
        m_contentViewController->removeEventFilter(this);
        ViewOwnership::handBack(m_contentViewController);
    }
    m_contentViewController = contentViewController;
    m_contentSize = preferredSize(contentViewController);
    m_hintedContentSize.reset();
    if (contentViewController) {
        if (!contentViewController->testAttribute(Qt::WA_Resized))
            m_hintedContentSize = m_contentSize;
        contentViewController->installEventFilter(this);
    }
    m_popoverWindow->setPopoverContentView(contentViewController);
}

void PKPopoverController::setAnimationType(AnimationType type)
{
    if (type >= AnimationType::Pop && type <= AnimationType::FadeInOut)
        m_animationType = type;
}

void PKPopoverController::setContentSize(const QSizeF& size)
{
    m_hintedContentSize.reset(); // a size chosen by the owner stays
    m_contentSize = PopoverLimits::contentSize(size);
    if (popoverIsVisible())
        placeWindow(false);
}

bool PKPopoverController::dropPopover(QPointer<PKPopoverController>& popover)
{
    const bool shown = popover && popover->shown();
    if (shown)
        popover->close();
    if (popover)
        popover->deleteLater();
    popover = nullptr;
    return shown;
}

void PKPopoverController::showRelativeToRect(
    const QRectF& rect, QWidget* view, platform::RectEdge preferredEdge)
{
    presentPopoverFromRect(rect, view, PKPopoverGeometry::arrowDirectionForEdge(preferredEdge), true);
}

QRectF PKPopoverController::anchorOnScreen() const
{
    if (!m_positionView)
        return {};
    const QPoint topLeft = m_positionView->mapToGlobal(m_viewRect.topLeft().toPoint());
    return platform::screenToYUp(QRectF(QPointF(topLeft), m_viewRect.size()));
}

QRectF PKPopoverController::screenFrame() const
{
    // The screen that holds the anchor: a window may span several screens or pass their edges.
    const QScreen* screen = nullptr;
    if (m_positionView)
        screen = QGuiApplication::screenAt(platform::screenToYDown(m_screenRect).center().toPoint());
    if (!screen && m_parentWindow)
        screen = m_parentWindow->screen();
    return screen ? platform::screenToYUp(QRectF(screen->geometry())) : QRectF();
}

QSizeF PKPopoverController::frameSizeFor(const QSizeF& contentSize) const
{
    return m_popoverWindow->frameRectForContentRect(QRectF(QPointF(0, 0), contentSize)).size();
}

void PKPopoverController::placeWindow(bool keepWindowSize)
{
    const PKPopoverGeometry::Placement placed = PKPopoverGeometry::placeOnScreen(m_screenRect,
        frameSizeFor(m_contentSize), arrowDirection(), screenFrame(), cornerRadius(), arrowSize());
    m_popoverWindow->frameView()->setArrowOffset(placed.arrowOffset);
    QRectF frame = placed.frame;
    if (keepWindowSize) {
        frame = m_popoverWindow->frameYUp();
        frame.moveTo(placed.frame.topLeft());
    }
    m_popoverWindow->setFrameYUp(frame);
}

void PKPopoverController::presentPopoverFromRect(const QRectF& rect, QWidget* view,
    PKPopoverGeometry::ArrowDirection preferredArrowDirection, bool anchorsToPositionView)
{
    if (m_state == State::Showing || m_state == State::Shown)
        return;
    if (m_state == State::Closing) {
        closePopoverAndResetVariables(); // finish the fade-out now; this show replaces it
        if (m_state != State::Hidden)
            return; // the did-close block has shown it already
    }

    if (preferredArrowDirection > PKPopoverGeometry::ArrowDirection::Down)
        preferredArrowDirection = PKPopoverGeometry::ArrowDirection::Up;
    m_parentWindow = view ? view->window() : nullptr;
    m_positionView = view;
    m_viewRect = platform::saneRect(rect);
    m_anchors = anchorsToPositionView;
    m_screenRect = anchorOnScreen();
    m_popoverWindow->frameView()->setArrowDirection(
        arrowDirectionWithPreferredArrowDirection(preferredArrowDirection));
    placeWindow(false);

    ++m_generation;
    m_state = State::Showing;
    if (m_willShowBlock)
        m_willShowBlock(this);
    if (m_state != State::Showing)
        return; // the block closed it again

    if (m_parentWindow) {
        m_parentWindow->winId();
        m_popoverWindow->winId();
        m_popoverWindow->windowHandle()->setTransientParent(m_parentWindow->windowHandle());
        m_parentPosition = m_parentWindow->pos();
    }
    startObserving(anchorsToPositionView);

    if (m_animates && m_animationType != AnimationType::FadeOut) {
        m_popoverWindow->presentAnimated();
    } else {
        m_popoverWindow->orderFrontAndMakeKey();
        m_state = State::Shown;
        if (m_didShowBlock)
            m_didShowBlock(this);
    }
}

void PKPopoverController::animationDidStop()
{
    if (m_state == State::Showing)
        finishShow();
    else if (m_state == State::Closing)
        closePopoverAndResetVariables();
}

void PKPopoverController::finishShow()
{
    m_state = State::Shown;
    if (m_delegate)
        m_delegate->popoverDidShow(this);
}

bool PKPopoverController::anyPopoverMoving()
{
    return std::any_of(
        livePopovers().cbegin(), livePopovers().cend(), [](const PKPopoverController* popover) {
            return popover->m_state == State::Showing || popover->m_state == State::Closing;
        });
}

QList<PKPopoverController*> PKPopoverController::shownPopovers()
{
    QList<PKPopoverController*> shown;
    for (PKPopoverController* popover : livePopovers())
        if (popover->shown())
            shown.append(popover);
    return shown;
}

void PKPopoverController::closeAllShownPopovers()
{
    // Closing one may close or delete another (a picker inside the settings).
    for (const QPointer<PKPopoverController> popover : shownPopovers())
        if (popover && popover->shown())
            popover->closePopover();
}

void PKPopoverController::closePopover()
{
    if (!popoverIsVisible())
        return;
    if (m_shouldCloseBlock && !m_shouldCloseBlock(this))
        return;
    forceClosePopover();
}

void PKPopoverController::forceClosePopover()
{
    if (!popoverIsVisible())
        return;
    if (m_willCloseBlock)
        m_willCloseBlock(this);
    if (!popoverIsVisible())
        return; // the block already closed it
    if (m_animates && m_animationType != AnimationType::FadeIn) {
        m_state = State::Closing;
        m_popoverWindow->dismissAnimated();
    } else {
        closePopoverAndResetVariables();
    }
}

namespace {

// A popover that the click closing this one opened on the same window (the closing fade
// ends after it appeared): raising the window now would bury it without a window manager,
// and taking the focus would leave it without the keyboard.
bool hasOtherVisiblePopover(const QWidget& parent, const PKPopoverWindow* closing)
{
    const QWindow* parentHandle = parent.windowHandle();
    const auto topLevels = QApplication::topLevelWidgets();
    return parentHandle && std::any_of(topLevels.begin(), topLevels.end(), [&](const QWidget* widget) {
        const auto* popover = qobject_cast<const PKPopoverWindow*>(widget);
        return popover && popover != closing && popover->isVisible() && popover->windowHandle()
            && popover->windowHandle()->transientParent() == parentHandle;
    });
}

} // namespace

void PKPopoverController::closePopoverAndResetVariables()
{
    QPointer<QWidget> parent = m_parentWindow;
    // A popover closing while the user works in another program leaves the keyboard there.
    const bool heldKeyboard = m_popoverWindow->isActiveWindow();
    m_state = State::Hidden; // first: hiding the window below is not a close from outside
    m_popoverWindow->stopAnimations();
    m_popoverWindow->hide();
    m_popoverWindow->setWindowOpacity(1.0);
    stopObserving();
    m_popoverWindow->frameView()->setArrowDirection(PKPopoverGeometry::ArrowDirection::None);
    m_popoverWindow->frameView()->setArrowOffset(0);
    m_resignKeyCheckOnRelease.reset();
    m_parentClickCheckOnRelease.reset();
    m_positionView = nullptr;
    m_parentWindow = nullptr;
    m_screenRect = QRectF();
    m_viewRect = QRectF();
    // Never over a modal panel that opened meanwhile: without a window manager the raised
    // window would hide the panel that holds the input.
    const QWidget* modal = QApplication::activeModalWidget();
    if (heldKeyboard && parent && parent->isVisible() && (!modal || modal == parent)
        && !hasOtherVisiblePopover(*parent, m_popoverWindow.get())) {
        parent->raise();
        parent->activateWindow();
    }
    // Last, so that a block showing the popover again is not undone by the reset.
    if (m_didCloseBlock)
        m_didCloseBlock(this);
}

void PKPopoverController::recalculateAndResetArrowDirection()
{
    m_popoverWindow->frameView()->setArrowDirection(
        arrowDirectionWithPreferredArrowDirection(arrowDirection()));
}

QRectF PKPopoverController::popoverFrameWithSize(
    const QSizeF& contentSize, PKPopoverGeometry::ArrowDirection direction) const
{
    return PKPopoverGeometry::popoverFrame(m_screenRect, frameSizeFor(contentSize), direction);
}

PKPopoverGeometry::ArrowDirection PKPopoverController::arrowDirectionWithPreferredArrowDirection(
    PKPopoverGeometry::ArrowDirection preferred) const
{
    return PKPopoverGeometry::directionOnScreen(
        preferred, m_screenRect, frameSizeFor(m_contentSize), screenFrame());
}

void PKPopoverController::startObserving(bool anchors)
{
    stopObserving();
    if (m_positionView && anchors)
        m_positionView->installEventFilter(this);
    if (m_parentWindow) {
        m_parentWindow->installEventFilter(this);
        // A popover goes with its parent window.
        m_observers << connect(m_parentWindow, &QObject::destroyed, this, [this] {
            if (popoverIsVisible())
                closePopoverAndResetVariables();
        });
    }
    auto* app = qGuiApp;
    app->installEventFilter(m_inputWatcher.get());
    if (m_closesWhenPopoverResignsKey) {
        m_observers << connect(m_popoverWindow.get(), &PKPopoverWindow::didResignKey, this,
            &PKPopoverController::popoverWindowDidResignKey);
        if (!m_closesWhenApplicationBecomesInactive) {
            m_observers << connect(
                app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
                    if (s == Qt::ApplicationActive)
                        applicationDidBecomeActive();
                });
        }
    } else if (m_closesWhenApplicationBecomesInactive) {
        m_observers << connect(
            app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
                if (s != Qt::ApplicationActive)
                    applicationDidResignActive();
            });
    }
}

void PKPopoverController::stopObserving()
{
    for (const auto& connection : std::as_const(m_observers))
        disconnect(connection);
    m_observers.clear();
    qApp->removeEventFilter(m_inputWatcher.get());
    if (m_positionView)
        m_positionView->removeEventFilter(this);
    if (m_parentWindow)
        m_parentWindow->removeEventFilter(this);
}

void PKPopoverController::fitContent()
{
    if (!m_hintedContentSize || !m_contentViewController)
        return;
    const QSizeF fitted = fittedContentSize(m_contentViewController, *m_hintedContentSize);
    if (fitted == m_contentSize)
        return;
    m_contentSize = fitted;
    if (popoverIsVisible())
        placeWindow(false);
}

bool PKPopoverController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_contentViewController && event->type() == QEvent::LayoutRequest)
        fitContent();
    if (popoverIsVisible()) {
        const auto type = event->type();
        const bool hidden = type == QEvent::Hide || type == QEvent::Close;
        if ((watched == m_parentWindow || watched == m_popoverWindow.get()) && hidden) {
            // The window went away by other means: the popover is no longer shown.
            closePopoverAndResetVariables();
        } else if (watched == m_parentWindow && type == QEvent::Move)
            parentWindowMoved();
        else if (watched == m_positionView && m_anchors && (type == QEvent::Move || type == QEvent::Resize))
            positionViewFrameChanged();
    }
    return QObject::eventFilter(watched, event);
}

void PKPopoverController::positionViewFrameChanged()
{
    if (!m_anchors)
        return;
    const QWidget* superview = m_positionView ? m_positionView->parentWidget() : nullptr;
    const QRectF frame = m_positionView ? QRectF(m_positionView->geometry()) : QRectF();
    const QRectF bounds = superview ? QRectF(superview->rect()) : QRectF();
    if (bounds.isEmpty() || !bounds.contains(frame)) {
        forceClosePopover();
        return;
    }
    m_screenRect = anchorOnScreen();
    placeWindow(true);
}

void PKPopoverController::parentWindowMoved()
{
    if (!m_parentWindow)
        return;
    const QPoint delta = m_parentWindow->pos() - m_parentPosition;
    m_parentPosition = m_parentWindow->pos();
    if (m_anchors && m_positionView) {
        m_screenRect = anchorOnScreen();
        placeWindow(true);
    } else {
        // A child window keeps its place relative to its parent.
        m_popoverWindow->move(m_popoverWindow->pos() + delta);
    }
}

void PKPopoverController::popoverWindowDidResignKey()
{
    // The application's active state may only settle after the window lost the keyboard,
    // so the decision waits for the next turn of the event loop.
    const quint64 generation = m_generation;
    platform::runLater(this, [this, generation] { resignKeyCheck(generation); });
}

void PKPopoverController::resignKeyCheck(quint64 generation)
{
    if (generation != m_generation || !popoverIsVisible())
        return;
    if (m_popoverWindow->isActiveWindow() || QApplication::activePopupWidget())
        return; // the keyboard came back, or a menu of the content holds it
    if (!m_closesWhenApplicationBecomesInactive && !isApplicationActive())
        return; // stays open while the application is in the background
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        // Decide when the click ends: a click on the anchor button then toggles the popover
        // closed instead of closing it on the press and opening it again on the release.
        m_resignKeyCheckOnRelease = generation;
        return;
    }
    closePopover();
}

bool PKPopoverController::applicationInput(QObject* receiver, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonRelease) {
        // After the click's own handlers: a click on the anchor button toggles the popover
        // closed rather than closing it here and opening it again.
        if (const auto generation = std::exchange(m_resignKeyCheckOnRelease, std::nullopt))
            platform::runLater(this, [this, generation] { resignKeyCheck(*generation); });
        if (const auto generation = std::exchange(m_parentClickCheckOnRelease, std::nullopt))
            platform::runLater(this, [this, generation] { parentClickCheck(*generation); });
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress)
        return false;
    const auto* widget = qobject_cast<QWidget*>(receiver);
    if (!popoverIsVisible() || !m_parentWindow || !widget || widget->window() != m_parentWindow)
        return false;
    if (type == QEvent::MouseButtonPress) {
        if (m_closesWhenParentWindowClicked)
            m_parentClickCheckOnRelease = m_generation;
        return false;
    }
    // Escape reaches the popover window only when it holds the keyboard; in its parent
    // window it is meant for the popover all the same.
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier || !m_closesWhenEscapeKeyPressed)
        return false;
    m_popoverWindow->cancelOperation();
    return true;
}

void PKPopoverController::parentClickCheck(quint64 generation)
{
    if (generation == m_generation && popoverIsVisible())
        closePopover();
}

void PKPopoverController::applicationDidResignActive()
{
    closePopover();
}

void PKPopoverController::applicationDidBecomeActive()
{
    if (!popoverIsVisible())
        return;
    const quint64 generation = m_generation;
    platform::runLater(this, [this, generation] {
        if (generation == m_generation)
            checkPopoverKeyWindowStatus();
    });
}

void PKPopoverController::checkPopoverKeyWindowStatus()
{
    if (!popoverIsVisible() || !m_parentWindow)
        return;
    bool parentIsKey = false;
    if (auto* parent = qobject_cast<PKPopoverParentWindow*>(m_parentWindow.data()))
        parentIsKey = parent->isReallyKeyWindow();
    else
        parentIsKey = m_parentWindow->isActiveWindow();
    if (parentIsKey)
        m_popoverWindow->activateWindow();
}

bool PKPopoverController::isApplicationActive()
{
    if (g_applicationActiveOverride)
        return *g_applicationActiveOverride;
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void PKPopoverController::setApplicationActiveOverride(std::optional<bool> active)
{
    g_applicationActiveOverride = active;
}
