#pragma once

#include "platform/SaneGeometry.h"
#include "uikit/SaneFont.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBWindow.h"
#include "uikit/window/TBWindowButton.h"
#include "uikit/window/TBWindowDelegate.h"

#include "platform/RectEdge.h"

#include <QColor>
#include <QFont>
#include <QGradient>
#include <QPainterPath>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class TBClassicWindowDelegateProxy;
class TBMovableByBackgroundContainerView;

/// A text shadow of the classic title (offset in y-up points).
struct TBTextShadow {
    QColor color;
    QPointF offset;
    double blurRadius = 0;
};

/// The classic title-bar window: draws its own title bar and bottom bar (gradients,
/// separator lines, title text), can take custom close, minimise, zoom and full-screen
/// buttons, lays them out horizontally or vertically, and moves when its bars are dragged.
/// The fallback family of `TBAppWindow`. The window (its own frame view) owns the bars,
/// the buttons and the content view. Main thread only.
class TBClassicWindow : public QWidget, public TBAppWindow {
    Q_OBJECT
public:
    /// The bars' edges: the title bar lies along the top (MaxY), the bottom bar along MinY.
    static constexpr platform::RectEdge kTopEdge = platform::RectEdge::MaxY;
    static constexpr platform::RectEdge kBottomEdge = platform::RectEdge::MinY;

    /// Called after a bar's own drawing with (painter, draws as main, drawing rectangle in
    /// the bar's Qt coordinates, edge, clipping path or null).
    using DrawingBlock
        = std::function<void(QPainter&, bool, const QRectF&, platform::RectEdge, const QPainterPath*)>;

    explicit TBClassicWindow(QWidget* parent = nullptr);
    ~TBClassicWindow() override;

    // TBAppWindow
    QWidget* widget() override { return this; }
    QWidget* titleBarView() const override { return m_titleBarView; }
    QWidget* contentView() const override { return m_contentView; }
    TBWindowButton* standardWindowButton(TBStandardButtons::Kind kind) const override;
    void setTitleBarHeight(double height) override { setTitleBarHeight(height, true); }
    double titleBarHeight() const override { return m_titleBarHeight; }
    void setCenterTrafficLightButtons(bool center) override;
    void setCenterFullScreenButton(bool center) override;
    void setShowsTitle(bool shows) override;
    void setHideTitleBarInFullScreen(bool hide) override { m_hideTitleBarInFullScreen = hide; }
    void setFullScreenButtonRightMargin(double margin) override;

    /// Does nothing for the current height; otherwise, with `adjustWindowFrame`, the window grows
    /// downwards by the change so that its top edge stays.
    void setTitleBarHeight(double height, bool adjustWindowFrame);
    /// Replaces the bar view. The bar views, the content view and the custom buttons follow
    /// the kit's ownership rule (uikit/ViewOwnership.h): owned while set; when replaced, the
    /// window's own are deleted and the caller's handed back.
    void setTitleBarView(QWidget* view);
    double bottomBarHeight() const { return m_bottomBarHeight; }
    void setBottomBarHeight(double height);
    QWidget* bottomBarView() const { return m_bottomBarView; }
    void setBottomBarView(QWidget* view);
    void setContentView(QWidget* view) override;

    bool centerFullScreenButton() const { return m_centerFullScreenButton; }
    bool centerTrafficLightButtons() const { return m_centerTrafficLightButtons; }
    bool verticalTrafficLightButtons() const { return m_verticalTrafficLightButtons; }
    void setVerticalTrafficLightButtons(bool vertical);
    bool verticallyCenterTitle() const { return m_verticallyCenterTitle; }
    void setVerticallyCenterTitle(bool center);
    bool hideTitleBarInFullScreen() const { return m_hideTitleBarInFullScreen; }
    bool showsBaselineSeparator() const { return m_showsBaselineSeparator; }
    void setShowsBaselineSeparator(bool shows);
    bool showsBottomBarSeparator() const { return m_showsBottomBarSeparator; }
    void setShowsBottomBarSeparator(bool shows);
    double trafficLightButtonsLeftMargin() const { return m_trafficLightButtonsLeftMargin; }
    void setTrafficLightButtonsLeftMargin(double margin);
    double trafficLightButtonsTopMargin() const { return m_trafficLightButtonsTopMargin; }
    void setTrafficLightButtonsTopMargin(double margin)
    {
        m_trafficLightButtonsTopMargin = platform::saneCoordinate(margin);
    }
    double fullScreenButtonRightMargin() const { return m_fullScreenButtonRightMargin; }
    double fullScreenButtonTopMargin() const { return m_fullScreenButtonTopMargin; }
    void setFullScreenButtonTopMargin(double margin)
    {
        m_fullScreenButtonTopMargin = platform::saneCoordinate(margin);
    }
    double trafficLightSeparation() const { return m_trafficLightSeparation; }
    void setTrafficLightSeparation(double separation);
    double mouseDragDetectionThreshold() const;
    void setMouseDragDetectionThreshold(double threshold);
    bool showsTitle() const { return m_showsTitle; }
    bool showsTitleInFullscreen() const { return m_showsTitleInFullscreen; }
    void setShowsTitleInFullscreen(bool shows) { m_showsTitleInFullscreen = shows; }
    /// There is no document proxy icon here; the flag is kept and redraws the title bar.
    bool showsDocumentProxyIcon() const { return m_showsDocumentProxyIcon; }
    void setShowsDocumentProxyIcon(bool shows);
    /// Whether dragging anywhere moves the window the window system's way.
    bool isMovableByWindowBackground() const { return m_movableByWindowBackground; }
    void setMovableByWindowBackground(bool movable) { m_movableByWindowBackground = movable; }

    TBWindowButton* closeButton() const { return m_closeButton; }
    TBWindowButton* minimizeButton() const { return m_minimizeButton; }
    TBWindowButton* zoomButton() const { return m_zoomButton; }
    TBWindowButton* fullScreenButton() const { return m_fullScreenButton; }
    /// Custom buttons replace the standard ones at the next layout; the window takes
    /// ownership and hands a replaced one back, hidden and without parent. Null brings the
    /// standard button back.
    void setCloseButton(TBWindowButton* button);
    void setMinimizeButton(TBWindowButton* button);
    void setZoomButton(TBWindowButton* button);
    void setFullScreenButton(TBWindowButton* button);
    /// The first label among the window's own children whose text is an em dash.
    QWidget* titleDivider() const;

    std::optional<QFont> titleFont() const { return m_titleFont; }
    void setTitleFont(const std::optional<QFont>& font) { m_titleFont = SaneFont::sane(font); }
    /// Gradients: empty stops mean the default.
    QGradientStops titleBarGradient() const { return m_titleBarGradient; }
    void setTitleBarGradient(const QGradientStops& stops) { m_titleBarGradient = stops; }
    QGradientStops bottomBarGradient() const { return m_bottomBarGradient; }
    void setBottomBarGradient(const QGradientStops& stops) { m_bottomBarGradient = stops; }
    QGradientStops inactiveTitleBarGradient() const { return m_inactiveTitleBarGradient; }
    void setInactiveTitleBarGradient(const QGradientStops& stops) { m_inactiveTitleBarGradient = stops; }
    QGradientStops inactiveBottomBarGradient() const { return m_inactiveBottomBarGradient; }
    void setInactiveBottomBarGradient(const QGradientStops& stops) { m_inactiveBottomBarGradient = stops; }
    /// Colours: invalid means the default.
    QColor baselineSeparatorColor() const { return m_baselineSeparatorColor; }
    void setBaselineSeparatorColor(const QColor& color) { m_baselineSeparatorColor = color; }
    QColor inactiveBaselineSeparatorColor() const { return m_inactiveBaselineSeparatorColor; }
    void setInactiveBaselineSeparatorColor(const QColor& color) { m_inactiveBaselineSeparatorColor = color; }
    QColor titleTextColor() const { return m_titleTextColor; }
    void setTitleTextColor(const QColor& color) { m_titleTextColor = color; }
    QColor inactiveTitleTextColor() const { return m_inactiveTitleTextColor; }
    void setInactiveTitleTextColor(const QColor& color) { m_inactiveTitleTextColor = color; }
    std::optional<TBTextShadow> titleTextShadow() const { return m_titleTextShadow; }
    void setTitleTextShadow(const std::optional<TBTextShadow>& shadow) { m_titleTextShadow = shadow; }
    std::optional<TBTextShadow> inactiveTitleTextShadow() const { return m_inactiveTitleTextShadow; }
    void setInactiveTitleTextShadow(const std::optional<TBTextShadow>& shadow)
    {
        m_inactiveTitleTextShadow = shadow;
    }
    DrawingBlock titleBarDrawingBlock() const { return m_titleBarDrawingBlock; }
    void setTitleBarDrawingBlock(DrawingBlock block) { m_titleBarDrawingBlock = std::move(block); }
    DrawingBlock bottomBarDrawingBlock() const { return m_bottomBarDrawingBlock; }
    void setBottomBarDrawingBlock(DrawingBlock block) { m_bottomBarDrawingBlock = std::move(block); }
    bool drawsTitlePatternOverlay() const { return m_drawsTitlePatternOverlay; }
    void setDrawsTitlePatternOverlay(bool draws) { m_drawsTitlePatternOverlay = draws; }

    /// The default bar colours, for a window that draws as main or not.
    static QGradientStops defaultTitleBarGradient(bool drawsAsMain);
    static QGradientStops defaultBottomBarGradient(bool drawsAsMain);
    static QColor defaultBaselineSeparatorColor(bool drawsAsMain);
    static QColor defaultTitleTextColor(bool drawsAsMain);
    /// Title-bar height without any extra: the kit's default strip height.
    static double minimumTitleBarHeight();
    static double defaultTrafficLightLeftMargin();
    static double defaultTrafficLightSeparation();

    /// Main window of an active application: the bars draw their active look.
    bool drawsAsMain() const;
    /// No toolbars exist on this window.
    double toolbarHeight() const { return 0; }
    TBWindow::StyleMask styleMask() const { return m_styleMask; }
    /// Frame changes requested while the mask changes are dropped.
    void setStyleMask(TBWindow::StyleMask mask);
    /// The top edge's thickness for MaxY, the bottom edge's for any other edge.
    double contentBorderThickness(platform::RectEdge edge) const;
    void setContentBorderThickness(double thickness, platform::RectEdge edge);

    TBWindowDelegate* delegate() const;
    void setDelegate(TBWindowDelegate* delegate);
    /// Where a sheet of this window goes: the delegate's answer, else just below the title bar
    /// (`rect`'s y in the window's y-up space).
    QRectF positionSheet(QWidget* sheet, const QRectF& rect);

    /// Ignored while the style mask changes.
    void setFrame(const QRect& frame, bool display);
    QRect frame() const { return geometry(); }

    void layout();
    void repositionContentView();
    void updateTitleBar();
    void updateBottomBar();

    void performClose();
    void performMiniaturize();
    void performZoom();
    void toggleFullScreen();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class TBClassicWindowContentView;
    void releaseReplaced(QWidget* old);
    void setUp();
    void setCustomButton(
        QPointer<TBWindowButton>& slot, TBWindowButton* button, TBStandardButtons::Kind kind);
    TBWindowButton* buttonToLayOut(const QPointer<TBWindowButton>& custom, TBStandardButtons::Kind kind);
    QRectF computedContentFrame() const;
    void windowWillEnterFullScreen();
    void windowWillExitFullScreen();
    void windowDidExitFullScreen();

    double m_titleBarHeight = 0;
    double m_cachedTitleBarHeight = 0;
    double m_bottomBarHeight = 0;
    bool m_centerFullScreenButton = false;
    bool m_centerTrafficLightButtons = false;
    bool m_verticalTrafficLightButtons = false;
    bool m_verticallyCenterTitle = false;
    bool m_hideTitleBarInFullScreen = false;
    bool m_showsBaselineSeparator = false;
    bool m_showsBottomBarSeparator = false;
    double m_trafficLightButtonsLeftMargin = 0;
    double m_trafficLightButtonsTopMargin = 0;
    double m_fullScreenButtonRightMargin = 0;
    double m_fullScreenButtonTopMargin = 0;
    double m_trafficLightSeparation = 0;
    bool m_showsTitle = false;
    bool m_showsTitleInFullscreen = false;
    bool m_showsDocumentProxyIcon = false;
    bool m_movableByWindowBackground = false;
    bool m_setFullScreenButtonRightMargin = false;
    bool m_preventWindowFrameChange = false;
    bool m_drawsTitlePatternOverlay = false;
    TBWindow::StyleMask m_styleMask = TBWindow::Style::Titled | TBWindow::Style::Closable
        | TBWindow::Style::Miniaturizable | TBWindow::Style::Resizable;
    double m_topContentBorderThickness = 0;
    double m_bottomContentBorderThickness = 0;
    std::optional<QFont> m_titleFont;
    QGradientStops m_titleBarGradient;
    QGradientStops m_bottomBarGradient;
    QGradientStops m_inactiveTitleBarGradient;
    QGradientStops m_inactiveBottomBarGradient;
    QColor m_baselineSeparatorColor;
    QColor m_inactiveBaselineSeparatorColor;
    QColor m_titleTextColor;
    QColor m_inactiveTitleTextColor;
    std::optional<TBTextShadow> m_titleTextShadow;
    std::optional<TBTextShadow> m_inactiveTitleTextShadow;
    DrawingBlock m_titleBarDrawingBlock;
    DrawingBlock m_bottomBarDrawingBlock;

    std::unique_ptr<TBClassicWindowDelegateProxy> m_delegateProxy;
    TBMovableByBackgroundContainerView* m_titleBarContainer = nullptr;
    TBMovableByBackgroundContainerView* m_bottomBarContainer = nullptr;
    QPointer<QWidget> m_titleBarView;
    QPointer<QWidget> m_bottomBarView;
    QPointer<QWidget> m_contentView;
    QObject* m_contentViewKeeper = nullptr;
    // Views the window made itself; any other view it replaces goes back to its caller.
    QList<QPointer<QWidget>> m_madeViews;
    QPointer<TBWindowButton> m_standardButtons[4]; // close, minimise, zoom, full screen
    QPointer<TBWindowButton> m_closeButton;
    QPointer<TBWindowButton> m_minimizeButton;
    QPointer<TBWindowButton> m_zoomButton;
    QPointer<TBWindowButton> m_fullScreenButton;
    Qt::WindowStates m_lastState;
};
