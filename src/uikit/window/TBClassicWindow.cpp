#include "uikit/window/TBClassicWindow.h"

#include "uikit/ViewOwnership.h"
#include "uikit/window/TBBottomBarView.h"
#include "uikit/window/TBClassicLayout.h"
#include "uikit/window/TBClassicWindowContentView.h"
#include "uikit/window/TBClassicWindowDelegateProxy.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBMovableByBackgroundContainerView.h"
#include "uikit/window/TBStandardButtons.h"
#include "uikit/window/TBTitlebarView.h"
#include "uikit/window/TBWindow.h"
#include "uikit/window/TBWindowButton.h"
#include "uikit/window/TBWindowState.h"

#include "platform/Strings.h"
#include "platform/YUpGeometry.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::Literals::StringLiterals;

namespace {

// Where the standard buttons start out in the title bar, before any layout.
constexpr double kSystemLeft = 7;
constexpr double kSystemSeparation = 6;
constexpr double kSystemTop = 3;
constexpr double kSystemFullScreenRight = 4;

double s_classicDefaultLeftMargin = 0;
double s_defaultSeparation = 0;

} // namespace

TBClassicWindow::TBClassicWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setUp();
}

TBClassicWindow::~TBClassicWindow() = default;

double TBClassicWindow::minimumTitleBarHeight()
{
    return TBWindow::defaultTitleBarHeight();
}

double TBClassicWindow::defaultTrafficLightLeftMargin()
{
    return s_classicDefaultLeftMargin;
}

double TBClassicWindow::defaultTrafficLightSeparation()
{
    return s_defaultSeparation;
}

void TBClassicWindow::setUp()
{
    m_showsBaselineSeparator = true;
    m_showsBottomBarSeparator = true;
    m_centerTrafficLightButtons = true;
    m_titleBarHeight = m_cachedTitleBarHeight = minimumTitleBarHeight();
    m_delegateProxy = std::make_unique<TBClassicWindowDelegateProxy>(this);
    m_trafficLightButtonsTopMargin = m_fullScreenButtonTopMargin = 3;
    m_drawsTitlePatternOverlay = true;
    m_lastState = windowState();

    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this] {
        updateTitleBar();
        updateBottomBar();
    });

    m_titleBarContainer = new TBMovableByBackgroundContainerView(this);
    m_bottomBarContainer = new TBMovableByBackgroundContainerView(this);
    const QRectF bars(0, 0, width(), height());
    TBGeometry::setFrame(
        m_titleBarContainer, TBClassicLayout::barFrames(bars, m_titleBarHeight, 0).titleBar, this);

    // The standard buttons sit in the title bar, where the window system would put them.
    static int windows = 0;
    const QString group = u"TBClassicWindow.standardButtons.%1"_s.arg(++windows);
    using TBStandardButtons::Kind;
    const Kind kinds[4] = { Kind::Close, Kind::Miniaturize, Kind::Zoom, Kind::FullScreen };
    double x = kSystemLeft;
    for (int i = 0; i < 4; ++i) {
        TBWindowButton* button = TBStandardButtons::makeButton(kinds[i], group, m_titleBarContainer);
        const QSizeF size = TBStandardButtons::buttonSize(kinds[i]);
        const double left = i < 3 ? x : m_titleBarContainer->width() - size.width() - kSystemFullScreenRight;
        TBGeometry::setFrame(button,
            QRectF(left, m_titleBarContainer->height() - size.height() - kSystemTop, size.width(),
                size.height()),
            m_titleBarContainer);
        x += size.width() + kSystemSeparation;
        m_standardButtons[i] = button;
    }
    connect(m_standardButtons[0], &QAbstractButton::clicked, this, &TBClassicWindow::performClose);
    connect(m_standardButtons[1], &QAbstractButton::clicked, this, &TBClassicWindow::performMiniaturize);
    connect(m_standardButtons[2], &QAbstractButton::clicked, this, &TBClassicWindow::performZoom);
    connect(m_standardButtons[3], &QAbstractButton::clicked, this, &TBClassicWindow::toggleFullScreen);
    if (s_classicDefaultLeftMargin == 0)
        s_classicDefaultLeftMargin = TBGeometry::frame(m_standardButtons[0], this).x();
    if (s_defaultSeparation == 0) {
        const QRectF close = TBGeometry::frame(m_standardButtons[0], this);
        s_defaultSeparation = TBGeometry::frame(m_standardButtons[1], this).x() - (close.x() + close.width());
    }
    m_trafficLightButtonsLeftMargin = s_classicDefaultLeftMargin;
    m_trafficLightSeparation = s_defaultSeparation;

    auto* titleBar = new TBTitlebarView();
    auto* bottomBar = new TBBottomBarView();
    auto* content = new QWidget();
    m_madeViews = { titleBar, bottomBar, content };
    setTitleBarView(titleBar);
    setBottomBarView(bottomBar);
    setContentView(content);
    layout();
}

TBWindowButton* TBClassicWindow::standardWindowButton(TBStandardButtons::Kind kind) const
{
    switch (kind) {
    case TBStandardButtons::Kind::Close:
    case TBStandardButtons::Kind::Miniaturize:
    case TBStandardButtons::Kind::Zoom:
        return m_standardButtons[int(kind)];
    case TBStandardButtons::Kind::FullScreen:
        return m_standardButtons[3];
    default:
        return nullptr;
    }
}

void TBClassicWindow::setTitleBarHeight(double height, bool adjustWindowFrame)
{
    height = platform::saneLength(height);
    if (height == m_titleBarHeight)
        return;
    const double old = m_titleBarHeight;
    if (adjustWindowFrame) {
        const QRectF yUp = platform::flipped(QRectF(geometry()), 0);
        const QRectF grown = platform::flipped(TBGeometry::frameKeepingTopEdge(yUp, height - old), 0);
        setFrame(grown.toRect(), true);
    }
    m_cachedTitleBarHeight = m_titleBarHeight = height;
    layout();
    updateTitleBar();
    if ((m_styleMask & TBWindow::Style::Textured) && m_contentView)
        m_contentView->update();
}

void TBClassicWindow::setTitleBarView(QWidget* view)
{
    if (!view || view == m_titleBarView)
        return;
    releaseReplaced(m_titleBarView);
    m_titleBarView = view;
    view->setParent(m_titleBarContainer);
    view->setGeometry(m_titleBarContainer->rect());
    view->lower();
    view->show();
}

void TBClassicWindow::setBottomBarView(QWidget* view)
{
    if (!view || view == m_bottomBarView)
        return;
    releaseReplaced(m_bottomBarView);
    m_bottomBarView = view;
    view->setParent(m_bottomBarContainer);
    view->setGeometry(m_bottomBarContainer->rect());
    view->show();
}

void TBClassicWindow::releaseReplaced(QWidget* old)
{
    ViewOwnership::releaseReplaced(old, m_madeViews);
}

void TBClassicWindow::setContentView(QWidget* view)
{
    if (!view || view == m_contentView)
        return;
    delete m_contentViewKeeper;
    m_contentViewKeeper = nullptr;
    releaseReplaced(m_contentView);
    m_contentView = view;
    view->setParent(this);
    if (view->metaObject() == &QWidget::staticMetaObject)
        m_contentViewKeeper = new TBClassicWindowContentView(this, view);
    repositionContentView();
    view->lower();
    view->show();
}

void TBClassicWindow::setBottomBarHeight(double height)
{
    height = platform::saneLength(height);
    if (height == m_bottomBarHeight)
        return;
    m_bottomBarHeight = height;
    layout();
    if ((m_styleMask & TBWindow::Style::Textured) && m_contentView)
        m_contentView->update();
}

void TBClassicWindow::setCenterTrafficLightButtons(bool center)
{
    if (center == m_centerTrafficLightButtons)
        return;
    m_centerTrafficLightButtons = center;
    layout();
}

void TBClassicWindow::setCenterFullScreenButton(bool center)
{
    if (center == m_centerFullScreenButton)
        return;
    m_centerFullScreenButton = center;
    layout();
}

void TBClassicWindow::setVerticalTrafficLightButtons(bool vertical)
{
    if (vertical == m_verticalTrafficLightButtons)
        return;
    m_verticalTrafficLightButtons = vertical;
    layout();
}

void TBClassicWindow::setVerticallyCenterTitle(bool center)
{
    if (center == m_verticallyCenterTitle)
        return;
    m_verticallyCenterTitle = center;
    if (m_titleBarView)
        m_titleBarView->update();
}

void TBClassicWindow::setShowsBaselineSeparator(bool shows)
{
    if (shows == m_showsBaselineSeparator)
        return;
    m_showsBaselineSeparator = shows;
    if (m_titleBarView)
        m_titleBarView->update();
}

void TBClassicWindow::setShowsBottomBarSeparator(bool shows)
{
    if (shows == m_showsBottomBarSeparator)
        return;
    m_showsBottomBarSeparator = shows;
    if (m_bottomBarView)
        m_bottomBarView->update();
}

void TBClassicWindow::setTrafficLightButtonsLeftMargin(double margin)
{
    margin = platform::saneCoordinate(margin);
    if (margin == m_trafficLightButtonsLeftMargin)
        return;
    m_trafficLightButtonsLeftMargin = margin;
    layout();
    update();
}

void TBClassicWindow::setFullScreenButtonRightMargin(double margin)
{
    margin = platform::saneCoordinate(margin);
    if (margin == m_fullScreenButtonRightMargin)
        return;
    m_fullScreenButtonRightMargin = margin;
    m_setFullScreenButtonRightMargin = true;
    layout();
    update();
}

void TBClassicWindow::setTrafficLightSeparation(double separation)
{
    separation = platform::saneCoordinate(separation);
    if (separation == m_trafficLightSeparation)
        return;
    m_trafficLightSeparation = separation;
    layout();
}

double TBClassicWindow::mouseDragDetectionThreshold() const
{
    return m_titleBarContainer->mouseDragDetectionThreshold();
}

void TBClassicWindow::setMouseDragDetectionThreshold(double threshold)
{
    m_titleBarContainer->setMouseDragDetectionThreshold(threshold);
}

void TBClassicWindow::setShowsTitle(bool shows)
{
    if (shows == m_showsTitle)
        return;
    m_showsTitle = shows;
    if (m_titleBarView)
        m_titleBarView->update();
}

void TBClassicWindow::setShowsDocumentProxyIcon(bool shows)
{
    if (shows == m_showsDocumentProxyIcon)
        return;
    m_showsDocumentProxyIcon = shows;
    if (m_titleBarView)
        m_titleBarView->update();
}

QWidget* TBClassicWindow::titleDivider() const
{
    for (QObject* child : children()) {
        if (auto* label = qobject_cast<QLabel*>(child); label && label->text() == u"\u2014"_s)
            return label;
    }
    return nullptr;
}

bool TBClassicWindow::drawsAsMain() const
{
    return isActiveWindow() && QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void TBClassicWindow::setStyleMask(TBWindow::StyleMask mask)
{
    m_preventWindowFrameChange = true;
    if ((m_styleMask & TBWindow::Style::Textured) && !(mask & TBWindow::Style::Textured))
        m_topContentBorderThickness = 0;
    m_styleMask = mask;
    if (m_titleBarView)
        m_titleBarView->update();
    if (m_contentView)
        m_contentView->update();
    m_preventWindowFrameChange = false;
}

double TBClassicWindow::contentBorderThickness(platform::RectEdge edge) const
{
    return edge == kTopEdge ? m_topContentBorderThickness : m_bottomContentBorderThickness;
}

void TBClassicWindow::setContentBorderThickness(double thickness, platform::RectEdge edge)
{
    (edge == kTopEdge ? m_topContentBorderThickness : m_bottomContentBorderThickness)
        = platform::saneLength(thickness);
}

TBWindowDelegate* TBClassicWindow::delegate() const
{
    return m_delegateProxy->secondaryDelegate();
}

void TBClassicWindow::setDelegate(TBWindowDelegate* delegate)
{
    m_delegateProxy->setSecondaryDelegate(delegate);
}

QRectF TBClassicWindow::positionSheet(QWidget* sheet, const QRectF& rect)
{
    return m_delegateProxy->windowWillPositionSheet(this, sheet, rect).value_or(rect);
}

void TBClassicWindow::setFrame(const QRect& frame, bool display)
{
    if (m_preventWindowFrameChange)
        return;
    setGeometry(frame);
    if (display)
        update();
}

void TBClassicWindow::performClose()
{
    close();
}

void TBClassicWindow::performMiniaturize()
{
    showMinimized();
}

void TBClassicWindow::performZoom()
{
    TBWindowState::toggleZoom(this);
}

void TBClassicWindow::toggleFullScreen()
{
    TBWindowState::toggleFullScreen(this);
}

void TBClassicWindow::windowWillEnterFullScreen()
{
    if (!m_hideTitleBarInFullScreen)
        return;
    m_titleBarHeight = 0;
    layout();
    update();
    if (m_titleBarView)
        m_titleBarView->hide();
}

void TBClassicWindow::windowWillExitFullScreen()
{
    if (!m_hideTitleBarInFullScreen)
        return;
    m_titleBarHeight = m_cachedTitleBarHeight;
    layout();
    update();
    if (m_titleBarView)
        m_titleBarView->show();
}

void TBClassicWindow::windowDidExitFullScreen()
{
    layout();
}

void TBClassicWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layout();
    m_delegateProxy->windowDidResize(this);
}

void TBClassicWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    layout();
    m_delegateProxy->windowDidMove(this);
}

void TBClassicWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::ActivationChange:
        updateTitleBar();
        updateBottomBar();
        layout();
        if (isActiveWindow())
            m_delegateProxy->windowDidBecomeKey(this);
        else
            m_delegateProxy->windowDidResignKey(this);
        break;
    case QEvent::WindowTitleChange:
        layout();
        if (m_titleBarView)
            m_titleBarView->update();
        break;
    case QEvent::WindowStateChange: {
        const Qt::WindowStates now = windowState();
        const Qt::WindowStates before = m_lastState;
        m_lastState = now;
        const TBWindowState::Transitions changed = TBWindowState::between(before, now);
        if (changed.miniaturized)
            m_delegateProxy->windowDidMiniaturize(this);
        if (changed.enteredFullScreen) {
            windowWillEnterFullScreen();
            m_delegateProxy->windowWillEnterFullScreen(this);
        } else if (changed.exitedFullScreen) {
            windowWillExitFullScreen();
            m_delegateProxy->windowWillExitFullScreen(this);
            windowDidExitFullScreen();
            m_delegateProxy->windowDidExitFullScreen(this);
        }
        break;
    }
    default:
        break;
    }
}

void TBClassicWindow::closeEvent(QCloseEvent* event)
{
    if (!m_delegateProxy->windowShouldClose(this)) {
        event->ignore();
        return;
    }
    m_delegateProxy->windowWillClose(this);
    event->accept();
}
