#include "uikit/window/TBWindow.h"

#include "platform/Appearance.h"
#include "platform/SaneGeometry.h"
#include "platform/YUpGeometry.h"
#include "uikit/ViewOwnership.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBStandardButtons.h"
#include "uikit/window/TBWindowBorderView.h"
#include "uikit/window/TBWindowButton.h"
#include "uikit/window/TBWindowDelegateProxy.h"
#include "uikit/window/TBWindowResizeGrip.h"
#include "uikit/window/TBWindowState.h"
#include "uikit/window/TBWindowTitleBarView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

namespace {

float s_defaultLeftMargin = 0;
float s_defaultTopMargin = 0;

// Where the standard buttons sit in a strip of the default height before any layout.
constexpr double kSystemButtonsLeft = 7;
constexpr double kSystemButtonsTop = 3;

// Any fixed height serves for the y-up view of screen rectangles, since the conversion
// back uses the same one.
double screenSpaceHeight()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry().bottom() + 1.0 : 0.0;
}

QString nextGroupIdentifier()
{
    static int counter = 0;
    return u"TBWindow.standardButtons.%1"_s.arg(++counter);
}

} // namespace

TBWindow::TBWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setUp();
}

TBWindow::~TBWindow()
{
    // Child widgets die after this, and their events must not reach the proxy.
    m_superDelegate = nullptr;
}

bool TBWindow::supportsVibrantAppearances()
{
    return false;
}

float TBWindow::defaultTitleBarHeight()
{
    return 22.0F;
}

float TBWindow::defaultLeftMargin()
{
    return s_defaultLeftMargin;
}

float TBWindow::defaultTopMargin()
{
    return s_defaultTopMargin;
}

void TBWindow::setUp()
{
    auto* content = new QWidget(this);
    content->setAutoFillBackground(true);
    auto* strip = new TBWindowTitleBarView(this);
    strip->setGeometry(0, 0, width(), qRound(defaultTitleBarHeight()));
    m_contentView = content;
    m_titleBarView = strip;
    m_madeViews = { content, strip };

    m_delegateProxy = std::make_unique<TBWindowDelegateProxy>();
    m_delegateProxy->setFirstDelegate(this);
    m_superDelegate = m_delegateProxy.get();

    const QString group = nextGroupIdentifier();
    using TBStandardButtons::Kind;
    for (Kind kind : { Kind::Close, Kind::Miniaturize, Kind::Zoom }) {
        TBWindowButton* button = TBStandardButtons::makeButton(kind, group, strip);
        const QRectF system = TBGeometry::trafficLightFrame(int(kind), TBStandardButtons::buttonSize(kind),
            defaultTitleBarHeight(), kSystemButtonsLeft, kSystemButtonsTop, false);
        TBGeometry::setFrame(button, system, strip);
        m_standardButtons.append(button);
    }
    connect(m_standardButtons[0].data(), &QAbstractButton::clicked, this, &TBWindow::performClose);
    connect(m_standardButtons[1].data(), &QAbstractButton::clicked, this, &TBWindow::performMiniaturize);
    connect(m_standardButtons[2].data(), &QAbstractButton::clicked, this, &TBWindow::performZoom);

    m_centerTrafficLightButtons = true;
    const QRectF close = TBGeometry::frame(m_standardButtons[0], strip);
    s_defaultLeftMargin = float(close.x());
    s_defaultTopMargin = float(strip->height() - (close.y() + close.height()));
    m_trafficLightButtonsLeftMargin = s_defaultLeftMargin;
    setHidesTitle(true);
    m_superDelegate = this;

    for (Qt::Edges edges : { Qt::Edges(Qt::LeftEdge), Qt::Edges(Qt::RightEdge), Qt::Edges(Qt::TopEdge),
             Qt::Edges(Qt::BottomEdge), Qt::TopEdge | Qt::LeftEdge, Qt::TopEdge | Qt::RightEdge,
             Qt::BottomEdge | Qt::LeftEdge, Qt::BottomEdge | Qt::RightEdge }) {
        auto* grip = new TBWindowResizeGrip(edges, this);
        connect(grip, &TBWindowResizeGrip::resizeEnded, this, &TBWindow::liveResizeEnded);
        m_grips.append(grip);
    }
    m_border = new TBWindowBorderView(this);
    m_lastState = windowState();
    layoutChrome();
    layoutTrafficLights();
}

QWidget* TBWindow::titleBarView() const
{
    return m_titleBarView;
}

void TBWindow::setTitleBarHeight(double height)
{
    const double defaultHeight = defaultTitleBarHeight();
    const double h = TBGeometry::titleBarHeightFor(platform::saneLength(height), defaultHeight);
    // The strip starts at the default height, not at 0: growing the frame by the whole
    // height on the first call would add the default height to the window each start.
    const double delta = h - std::max(m_titleBarHeight, defaultHeight);
    m_titleBarHeight = h;
    m_accessoryHeight = h - defaultHeight;
    layoutChrome();

    const double space = screenSpaceHeight();
    const QRectF yUp = platform::flipped(QRectF(geometry()), space);
    const QRectF grown = platform::flipped(TBGeometry::frameKeepingTopEdge(yUp, delta), space);
    layoutTrafficLights();
    setFrame(grown.toRect(), false);
}

void TBWindow::setTrafficLightButtonsLeftMargin(double margin)
{
    m_trafficLightButtonsLeftMargin = platform::saneCoordinate(margin);
}

void TBWindow::setCenterTrafficLightButtons(bool center)
{
    m_centerTrafficLightButtons = center;
    layoutTrafficLights();
}

void TBWindow::setHidesTitle(bool hides)
{
    m_hidesTitle = hides;
    if (auto* strip = qobject_cast<TBWindowTitleBarView*>(m_titleBarView))
        strip->setShowsTitle(!hides);
}

QList<TBWindowButton*> TBWindow::standardButtons() const
{
    QList<TBWindowButton*> buttons;
    for (const QPointer<TBWindowButton>& button : m_standardButtons) {
        if (button)
            buttons.append(button);
    }
    return buttons;
}

TBWindowButton* TBWindow::standardWindowButton(TBStandardButtons::Kind kind) const
{
    const int index = int(kind);
    return (index >= 0 && index < m_standardButtons.size()) ? m_standardButtons[index].data() : nullptr;
}

TBWindow::StyleMask TBWindow::styleMask() const
{
    StyleMask mask = Style::Titled | Style::Closable | Style::Miniaturizable | Style::Resizable
        | Style::FullSizeContentView;
    if (isFullScreen())
        mask |= Style::FullScreenMask;
    return mask;
}

void TBWindow::setContentViewAppearance(Material material)
{
    // There are no translucent materials to put behind the content (supportsVibrantAppearances),
    // so the content view stays as it is.
    Q_UNUSED(material);
}

void TBWindow::setVibrantDarkAppearance()
{
    setPalette(platform::AppearanceController::darkPalette());
}

void TBWindow::setVibrantLightAppearance()
{
    setPalette(platform::AppearanceController::lightPalette());
}

void TBWindow::setAquaAppearance()
{
    setPalette(platform::AppearanceController::lightPalette());
}

void TBWindow::setContentView(QWidget* view)
{
    Q_ASSERT(view);
    if (!view || view == m_contentView || view == this)
        return;
    QWidget* old = m_contentView;
    view->setParent(this);
    m_contentView = view;
    releaseReplaced(old);
    layoutChrome();
    view->show();
}

void TBWindow::releaseReplaced(QWidget* old)
{
    ViewOwnership::releaseReplaced(old, m_madeViews);
}

void TBWindow::replaceSubview(QWidget* old, QWidget* replacement, bool resizing)
{
    Q_ASSERT(replacement);
    // The window itself, or a view holding the replacement, cannot be put inside it.
    if (!replacement || old == replacement || replacement == this || (old && replacement->isAncestorOf(old))
        || (old && old->isWindow()))
        return;
    if (resizing)
        replacement->setGeometry(old ? old->geometry() : QRect());
    if (old) {
        const QObjectList children = old->children();
        for (QObject* child : children) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (!widget || widget->isWindow())
                continue;
            const QRect frame = widget->geometry();
            const bool visible = !widget->isHidden();
            widget->setParent(replacement);
            widget->setGeometry(frame);
            widget->setVisible(visible);
        }
    }
    if (old && old == m_contentView) {
        setContentView(replacement);
    } else if (old && old->parentWidget()) {
        QWidget* superview = old->parentWidget();
        replacement->setParent(superview);
        replacement->stackUnder(old);
        if (QLayout* layout = superview->layout())
            delete layout->replaceWidget(old, replacement);
        replacement->show();
        if (old == m_titleBarView)
            m_titleBarView = replacement;
        releaseReplaced(old);
    }
    layoutTrafficLights();
}

TBWindowDelegate* TBWindow::delegate() const
{
    return m_delegateProxy->secondaryDelegate();
}

void TBWindow::setDelegate(TBWindowDelegate* delegate)
{
    m_delegateProxy->setSecondaryDelegate(delegate);
    m_superDelegate = nullptr;
    m_superDelegate = m_delegateProxy.get();
}

void TBWindow::setFrame(const QRect& frame, bool display)
{
    setGeometry(frame);
    if (display)
        update();
    layoutTrafficLights();
}

void TBWindow::orderFront()
{
    show();
    raise();
    layoutTrafficLights();
}

void TBWindow::performClose()
{
    close();
}

void TBWindow::performMiniaturize()
{
    showMinimized();
}

void TBWindow::performZoom()
{
    TBWindowState::toggleZoom(this);
}

void TBWindow::layoutTrafficLights()
{
    if (!m_titleBarView)
        return;
    const double stripHeight = m_titleBarView->height();
    for (int i = 0; i < m_standardButtons.size(); ++i) {
        TBWindowButton* button = m_standardButtons[i];
        if (!button)
            continue;
        const QRectF frame = TBGeometry::trafficLightFrame(i, QSizeF(button->size()), stripHeight,
            m_trafficLightButtonsLeftMargin, s_defaultTopMargin, m_centerTrafficLightButtons);
        TBGeometry::setFrame(button, frame, m_titleBarView);
    }
}

void TBWindow::layoutChrome()
{
    const int stripHeight = qRound(defaultTitleBarHeight() + m_accessoryHeight.value_or(0.0));
    if (m_contentView)
        m_contentView->setGeometry(rect());
    // Children with an autoresizing mask follow the strip's size changes.
    if (m_titleBarView) {
        const QSize oldStrip = m_titleBarView->size();
        m_titleBarView->setGeometry(0, 0, width(), stripHeight);
        if (oldStrip != m_titleBarView->size())
            TBGeometry::applyAutoresizing(m_titleBarView, QSizeF(oldStrip));
        m_titleBarView->raise();
    }
    // A window filling the screen without a window manager counts as maximised: resized by a
    // grip, it would lose the frame the next double click puts back.
    const bool resizable = !isFullScreen() && !TBWindowState::isZoomed(this);
    for (const QPointer<TBWindowResizeGrip>& grip : m_grips) {
        if (!grip)
            continue;
        grip->setVisible(resizable);
        grip->place();
    }
    // A maximised or full-screen window has no neighbours to stand out from.
    if (m_border) {
        m_border->setGeometry(rect());
        m_border->setVisible(resizable);
        m_border->raise();
    }
}

void TBWindow::windowDidResize(QWidget*)
{
    layoutTrafficLights();
}

void TBWindow::liveResizeEnded()
{
    for (TBWindowButton* button : findChildren<TBWindowButton*>())
        button->viewDidEndLiveResize();
}

void TBWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutChrome();
    if (TBWindowDelegate* d = currentDelegate())
        d->windowDidResize(this);
}

void TBWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (TBWindowDelegate* d = currentDelegate())
        d->windowDidMove(this);
}

void TBWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    TBWindowDelegate* d = currentDelegate();
    switch (event->type()) {
    case QEvent::ActivationChange:
        if (m_titleBarView)
            m_titleBarView->update();
        if (d && isActiveWindow())
            d->windowDidBecomeKey(this);
        else if (d)
            d->windowDidResignKey(this);
        break;
    case QEvent::WindowTitleChange:
        if (m_titleBarView)
            m_titleBarView->update();
        break;
    case QEvent::WindowStateChange: {
        const Qt::WindowStates now = windowState();
        const Qt::WindowStates before = m_lastState;
        m_lastState = now;
        layoutChrome();
        if (!d)
            break;
        const TBWindowState::Transitions changed = TBWindowState::between(before, now);
        if (changed.miniaturized)
            d->windowDidMiniaturize(this);
        if (changed.enteredFullScreen) {
            d->windowWillEnterFullScreen(this);
        } else if (changed.exitedFullScreen) {
            d->windowWillExitFullScreen(this);
            d->windowDidExitFullScreen(this);
        }
        break;
    }
    default:
        break;
    }
}

void TBWindow::closeEvent(QCloseEvent* event)
{
    TBWindowDelegate* d = currentDelegate();
    if (d && !d->windowShouldClose(this)) {
        event->ignore();
        return;
    }
    if (d)
        d->windowWillClose(this);
    event->accept();
}

void TBWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    layoutChrome();
    layoutTrafficLights();
}

void TBWindow::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    // A child added later would otherwise cover the outline.
    if (m_border && event->added() && event->child() != m_border && event->child()->isWidgetType())
        m_border->raise();
}
