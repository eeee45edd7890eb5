#include "platform/YUpGeometry.h"
#include "uikit/window/TBClassicWindow.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBMovableByBackgroundContainerView.h"
#include "uikit/window/TBStandardButtons.h"
#include "uikit/window/TBTitlebarView.h"
#include "uikit/window/TBWindowBackgroundView.h"
#include "uikit/window/TBWindowButton.h"

#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QFontMetricsF>
#include <QPushButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QRectF frameOf(QWidget* widget, TBClassicWindow& window)
{
    return TBGeometry::frame(widget, &window);
}

class SheetDelegate : public TBWindowDelegate {
public:
    std::optional<QRectF> windowWillPositionSheet(QWidget*, QWidget*, const QRectF&) override
    {
        return answer;
    }
    std::optional<QRectF> answer;
};

} // namespace

TEST(TBClassicWindow, SetUpValues)
{
    TBClassicWindow window;
    EXPECT_EQ(window.titleBarHeight(), TBClassicWindow::minimumTitleBarHeight());
    EXPECT_EQ(window.bottomBarHeight(), 0);
    EXPECT_TRUE(window.showsBaselineSeparator());
    EXPECT_TRUE(window.showsBottomBarSeparator());
    EXPECT_TRUE(window.centerTrafficLightButtons());
    EXPECT_FALSE(window.verticalTrafficLightButtons());
    EXPECT_FALSE(window.showsTitle());
    EXPECT_TRUE(window.drawsTitlePatternOverlay());
    EXPECT_EQ(window.trafficLightButtonsTopMargin(), 3);
    EXPECT_EQ(window.fullScreenButtonTopMargin(), 3);
    EXPECT_EQ(window.mouseDragDetectionThreshold(), 1);
    EXPECT_EQ(window.trafficLightButtonsLeftMargin(), TBClassicWindow::defaultTrafficLightLeftMargin());
    EXPECT_EQ(TBClassicWindow::defaultTrafficLightSeparation(), 6);
    EXPECT_NE(qobject_cast<TBTitlebarView*>(window.titleBarView()), nullptr);
}

TEST(TBClassicWindow, LaysOutBarsButtonsAndContent)
{
    TBClassicWindow window;
    window.resize(800, 600);
    window.setTitleBarHeight(40, false);
    window.setBottomBarHeight(30);
    EXPECT_EQ(frameOf(window.titleBarView()->parentWidget(), window), QRectF(0, 560, 800, 40));
    EXPECT_EQ(frameOf(window.contentView(), window), QRectF(0, 30, 800, 530));
    EXPECT_EQ(
        frameOf(window.standardWindowButton(TBStandardButtons::Kind::Close), window), QRectF(7, 572, 14, 16));
    EXPECT_EQ(
        frameOf(window.standardWindowButton(TBStandardButtons::Kind::Zoom), window), QRectF(47, 572, 14, 16));
    // The full-screen button keeps the right margin it was first found at.
    const double margin = window.fullScreenButtonRightMargin();
    EXPECT_EQ(frameOf(window.standardWindowButton(TBStandardButtons::Kind::FullScreen), window).x(),
        800 - 16 - margin);
    window.setFullScreenButtonRightMargin(8);
    window.setCenterFullScreenButton(true);
    EXPECT_EQ(frameOf(window.standardWindowButton(TBStandardButtons::Kind::FullScreen), window),
        QRectF(776, 572, 16, 16));

    // The plain content view keeps the window's frame whatever is asked of it.
    window.show();
    window.contentView()->setGeometry(5, 5, 10, 10);
    EXPECT_EQ(frameOf(window.contentView(), window), QRectF(0, 30, 800, 530));
}

TEST(TBClassicWindow, TitleBarHeightSetters)
{
    TBClassicWindow window;
    window.setGeometry(100, 100, 800, 600);
    window.setTitleBarHeight(40);
    EXPECT_EQ(window.geometry(), QRect(100, 100, 800, 600 + 40 - 22));
    // The same value again changes nothing.
    window.setTitleBarHeight(40);
    EXPECT_EQ(window.geometry(), QRect(100, 100, 800, 618));
    window.setTitleBarHeight(60, false);
    EXPECT_EQ(window.geometry(), QRect(100, 100, 800, 618));
    EXPECT_EQ(window.titleBarHeight(), 60);
}

TEST(TBClassicWindow, CustomButtonsReplaceTheStandardOnes)
{
    TBClassicWindow window;
    window.resize(800, 600);
    TBWindowButton* standard = window.standardWindowButton(TBStandardButtons::Kind::Close);
    auto* custom = TBStandardButtons::makeButton(TBStandardButtons::Kind::Close, u"custom"_s, nullptr);
    window.setCloseButton(custom);
    EXPECT_EQ(custom->parentWidget(), &window);
    EXPECT_EQ(custom->accessibleName(), u"close button"_s);
    window.layout();
    EXPECT_TRUE(standard->isHidden());
    EXPECT_EQ(frameOf(custom, window).x(), window.trafficLightButtonsLeftMargin());

    window.setCloseButton(nullptr);
    window.layout();
    EXPECT_FALSE(standard->isHidden());
    // The replaced button is the caller's again.
    EXPECT_EQ(custom->parentWidget(), nullptr);
    delete custom;

    // A standard button sitting directly in the frame view stays hidden.
    std::unique_ptr<TBWindowButton> second(
        TBStandardButtons::makeButton(TBStandardButtons::Kind::Close, u"custom"_s, nullptr));
    window.setCloseButton(second.get());
    window.layout();
    standard->setParent(&window);
    window.setCloseButton(nullptr);
    window.layout();
    EXPECT_TRUE(standard->isHidden());
}

TEST(TBClassicWindow, VerticalButtonsStackDownwardsFromClose)
{
    TBClassicWindow window;
    window.resize(800, 600);
    window.setTitleBarHeight(100, false);
    window.setVerticalTrafficLightButtons(true);
    const QRectF close = frameOf(window.standardWindowButton(TBStandardButtons::Kind::Close), window);
    const QRectF zoom = frameOf(window.standardWindowButton(TBStandardButtons::Kind::Zoom), window);
    EXPECT_EQ(close.x(), zoom.x());
    EXPECT_EQ(close.y() - zoom.y(), 2 * (16 + 4));
}

TEST(TBClassicWindow, TitleBarControlsFollowTheWindowsMainState)
{
    TBClassicWindow window;
    auto* control = new QPushButton(u"Go"_s, window.titleBarView());
    window.show();
    QApplication::setActiveWindow(&window);
    window.updateTitleBar();
    EXPECT_EQ(control->isEnabled(), window.drawsAsMain());
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    EXPECT_FALSE(window.drawsAsMain());
    EXPECT_FALSE(control->isEnabled());
}

TEST(TBClassicWindow, SheetsGoBelowTheTitleBarUnlessTheDelegatePlacesThem)
{
    TBClassicWindow window;
    window.resize(800, 600);
    window.setTitleBarHeight(40, false);
    EXPECT_EQ(window.positionSheet(nullptr, QRectF(0, 0, 300, 0)).y(), 600 - 40);
    SheetDelegate delegate;
    window.setDelegate(&delegate);
    EXPECT_EQ(window.positionSheet(nullptr, QRectF(0, 0, 300, 0)).y(), 560);
    delegate.answer = QRectF(1, 2, 3, 4);
    EXPECT_EQ(window.positionSheet(nullptr, QRectF(0, 0, 300, 0)), QRectF(1, 2, 3, 4));
}

TEST(TBClassicWindow, HiddenTitleBarInFullScreenComesBack)
{
    TBClassicWindow window;
    window.resize(800, 600);
    window.setTitleBarHeight(40, false);
    window.setHideTitleBarInFullScreen(true);
    window.show();
    window.showFullScreen();
    EXPECT_EQ(window.titleBarHeight(), 0);
    EXPECT_TRUE(window.titleBarView()->isHidden());
    EXPECT_EQ(frameOf(window.contentView(), window).height(), window.height());
    window.showNormal();
    EXPECT_EQ(window.titleBarHeight(), 40);
    EXPECT_FALSE(window.titleBarView()->isHidden());
}

TEST(TBClassicWindow, DraggingTheBarMovesTheWindowInThresholdSteps)
{
    TBClassicWindow window;
    window.setGeometry(100, 100, 400, 300);
    window.setMouseDragDetectionThreshold(5);
    window.show();
    auto* container
        = qobject_cast<TBMovableByBackgroundContainerView*>(window.titleBarView()->parentWidget());
    ASSERT_NE(container, nullptr);
    const QPoint start = window.pos();
    container->mouseDown(QPoint(300, 110));
    container->mouseDragged(QPoint(302, 111));
    container->mouseDragged(QPoint(304, 112));
    EXPECT_EQ(window.pos(), start); // 4 and 2: below the threshold
    container->mouseDragged(QPoint(305, 112));
    EXPECT_EQ(window.pos(), start + QPoint(5, 2));
    container->mouseUp();
    container->mouseDragged(QPoint(400, 200));
    EXPECT_EQ(window.pos(), start + QPoint(5, 2));
}

TEST(TBWindowBackgroundView, SeparatorAndOverlayRules)
{
    const QRectF bar(0, 560, 800, 40);
    EXPECT_EQ(TBWindowBackgroundView::baselineSeparatorFrame(bar, TBClassicWindow::kTopEdge),
        QRectF(0, 560, 800, 1));
    EXPECT_EQ(TBWindowBackgroundView::separatorHighlightFrame(bar, TBClassicWindow::kTopEdge),
        QRectF(0, 561, 800, 1));
    const QRectF bottom(0, 0, 800, 30);
    EXPECT_EQ(TBWindowBackgroundView::baselineSeparatorFrame(bottom, TBClassicWindow::kBottomEdge),
        QRectF(0, 29, 800, 1));
    EXPECT_EQ(TBWindowBackgroundView::separatorHighlightFrame(bottom, TBClassicWindow::kBottomEdge),
        QRectF(0, 28, 800, 1));
    EXPECT_TRUE(TBWindowBackgroundView::drawsPatternOverlay(1138, false, true));
    EXPECT_TRUE(TBWindowBackgroundView::drawsPatternOverlay(1342, false, true));
    EXPECT_FALSE(TBWindowBackgroundView::drawsPatternOverlay(1343, false, true));
    EXPECT_FALSE(TBWindowBackgroundView::drawsPatternOverlay(1200, true, true));
    EXPECT_FALSE(
        TBWindowBackgroundView::drawsPatternOverlay(TBWindowBackgroundView::platformVersion(), false, true));
    const QImage grain = TBWindowBackgroundView::windowPatternOverlayColor().textureImage();
    EXPECT_EQ(grain.size(), QSize(256, 256));
    EXPECT_EQ(grain.devicePixelRatio(), 2.0);
}

TEST(TBClassicWindow, PaintsItsBarsWithTheDefaultGradient)
{
    TBClassicWindow window;
    window.resize(300, 200);
    window.setTitleBarHeight(40, false);
    window.setBottomBarHeight(24);
    window.setWindowTitle(u"Classic"_s);
    window.setShowsTitle(true);
    window.show();
    const bool main = window.drawsAsMain();
    const QImage shot = window.grab().toImage();
    // The title gradient runs from 180 (225 when not main) at the bottom to 235 (250) at the top.
    const int top = shot.pixelColor(100 * shot.devicePixelRatio(), 3 * shot.devicePixelRatio()).red();
    const int low = shot.pixelColor(100 * shot.devicePixelRatio(), 36 * shot.devicePixelRatio()).red();
    EXPECT_GT(top, low);
    EXPECT_NEAR(low, main ? 185 : 227, 4);
    // The separator along the bottom of the title bar.
    EXPECT_EQ(
        shot.pixelColor(100 * shot.devicePixelRatio(), 39 * shot.devicePixelRatio()).red(), main ? 104 : 167);
}

TEST(TBClassicWindow, TexturedBarsKeepTheirContentBorderPerEdge)
{
    // The design's numbers: the title bar along edge 3 (max y), the bottom bar along 1.
    EXPECT_EQ(static_cast<unsigned>(TBClassicWindow::kTopEdge), 3u);
    EXPECT_EQ(static_cast<unsigned>(TBClassicWindow::kBottomEdge), 1u);

    TBClassicWindow window;
    window.resize(300, 200);
    window.setTitleBarHeight(40, false);
    window.setBottomBarHeight(24);
    window.setStyleMask(window.styleMask() | TBWindow::Style::Textured);
    QList<platform::RectEdge> drawnEdges;
    const auto record = [&drawnEdges](QPainter&, bool, const QRectF&, platform::RectEdge edge,
                            const QPainterPath*) { drawnEdges.append(edge); };
    window.setTitleBarDrawingBlock(record);
    window.setBottomBarDrawingBlock(record);
    window.grab();

    EXPECT_TRUE(drawnEdges.contains(platform::RectEdge::MaxY));
    EXPECT_TRUE(drawnEdges.contains(platform::RectEdge::MinY));
    EXPECT_EQ(window.contentBorderThickness(platform::RectEdge::MaxY),
        40 - TBClassicWindow::minimumTitleBarHeight());
    EXPECT_EQ(window.contentBorderThickness(platform::RectEdge::MinY), 24);
    // Every edge but the top one is the bottom bar's.
    window.setContentBorderThickness(7, platform::RectEdge::MinX);
    EXPECT_EQ(window.contentBorderThickness(platform::RectEdge::MinY), 7);
    EXPECT_EQ(window.contentBorderThickness(platform::RectEdge::MaxY),
        40 - TBClassicWindow::minimumTitleBarHeight());
}

namespace {

// The bounding box, in the widget's y-down pixels, of the strongly red pixels of `shot`.
QRect redPixels(const QImage& shot)
{
    QRect box;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 90 && c.blue() < 90)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace

TEST(TBClassicWindow, TitleWithItsOwnColourOrFontLandsInTheTitleFrame)
{
    for (const bool customFont : { false, true }) {
        SCOPED_TRACE(customFont ? "custom font" : "custom colour only");
        TBClassicWindow window;
        window.resize(400, 200);
        window.setTitleBarHeight(40, false);
        window.setWindowTitle(u"Household net worth"_s);
        window.setShowsTitle(true);
        window.setTitleTextColor(Qt::red);
        window.setInactiveTitleTextColor(Qt::red);
        if (customFont)
            window.setTitleFont(QFont(u"Sans"_s, 12));
        auto* bar = qobject_cast<TBTitlebarView*>(window.titleBarView());
        ASSERT_NE(bar, nullptr);

        // The frame starts 8 to the right of the zoom button (it is wider than half the room
        // left of centre would give) and sits 2 below the bar's top.
        const TBTitlebarView::TitleAttributes attributes = bar->titleAttributes();
        const QRectF frame = bar->titleFrame(attributes);
        const QRectF zoom
            = TBGeometry::frame(window.standardWindowButton(TBStandardButtons::Kind::Zoom), bar);
        const double centred = (bar->width() - frame.width()) / 2;
        EXPECT_EQ(frame.x(), std::max(zoom.x() + zoom.width() + 8, centred));
        EXPECT_EQ(frame.y() + frame.height(), bar->height() - 2);
        EXPECT_EQ(frame.height(), std::ceil(QFontMetricsF(attributes.font).height()));

        const QImage shot = bar->grab().toImage();
        const double ratio = shot.devicePixelRatio();
        const QRect drawn = redPixels(shot);
        ASSERT_FALSE(drawn.isEmpty());
        const QRectF yDown = platform::flipped(frame, bar->height());
        const QRectF drawnPoints(
            drawn.x() / ratio, drawn.y() / ratio, drawn.width() / ratio, drawn.height() / ratio);
        EXPECT_TRUE(yDown.adjusted(-1, -1, 1, 1).contains(drawnPoints))
            << drawnPoints.x() << "," << drawnPoints.y() << " " << drawnPoints.width() << "x"
            << drawnPoints.height();
    }
}

TEST(TBClassicWindow, EveryTitleBarStatePaintsAndHasATitleFrame)
{
    for (const bool customButtons : { false, true })
        for (const bool vertical : { false, true })
            for (const bool fullScreenButton : { false, true })
                for (const bool showsTitle : { false, true })
                    for (const int look : { 0, 1, 2 }) { // default, own colour, own font
                        TBClassicWindow window;
                        window.resize(320, 160);
                        window.setTitleBarHeight(40, false);
                        window.setBottomBarHeight(20);
                        window.setWindowTitle(u"Mervane"_s);
                        window.setShowsTitle(showsTitle);
                        window.setVerticalTrafficLightButtons(vertical);
                        window.setVerticallyCenterTitle(vertical);
                        if (customButtons) {
                            using TBStandardButtons::Kind;
                            window.setCloseButton(
                                TBStandardButtons::makeButton(Kind::Close, u"sweep"_s, nullptr));
                            window.setMinimizeButton(
                                TBStandardButtons::makeButton(Kind::Miniaturize, u"sweep"_s, nullptr));
                            window.setZoomButton(
                                TBStandardButtons::makeButton(Kind::Zoom, u"sweep"_s, nullptr));
                        }
                        if (fullScreenButton)
                            window.setFullScreenButton(TBStandardButtons::makeButton(
                                TBStandardButtons::Kind::FullScreen, u"sweep"_s, nullptr));
                        if (look == 1)
                            window.setTitleTextColor(Qt::red);
                        if (look == 2)
                            window.setTitleFont(QFont(u"Sans"_s, 12));
                        window.layout();
                        auto* bar = qobject_cast<TBTitlebarView*>(window.titleBarView());
                        ASSERT_NE(bar, nullptr);
                        const QRectF frame = bar->titleFrame(bar->titleAttributes());
                        EXPECT_GE(frame.x(), 0);
                        EXPECT_LE(frame.y() + frame.height(), bar->height());
                        EXPECT_FALSE(window.grab().isNull());
                    }
}
