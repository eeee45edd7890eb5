#include "uikit/controls/KitDrawing.h"
#include "uikit/controls/box/RXRoundedBox.h"
#include "uikit/controls/views/BVBlurredView.h"
#include "uikit/controls/views/NWColoredView.h"

#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "uikit/controls/bar/CommandBar.h"
#include "uikit/window/TBWindowButton.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QScrollArea>

using namespace Qt::Literals::StringLiterals;

namespace {

bool near(const QColor& a, const QColor& b, int tolerance = 2)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

TEST(RXRoundedBoxTest, TitleTabGeometryFromTheBoxNumbers)
{
    // Box 200 x 100, border 2, title cell 50 x 14.
    const QRectF bounds(0, 0, 200, 100);
    const QRectF t = RXRoundedBox::titleRect(bounds, { 50, 14 }, 2);
    EXPECT_EQ(t, QRectF(6, 82, 54, 14));
    const QRectF r = bounds.adjusted(1, 1, -1, -1);
    const QRectF tab = RXRoundedBox::titlePath(r, 4, t, false).boundingRect();
    // left 1, top 99, bottom 82 - (99 - 96) = 79, right 1 + 54 + 2 * (6 - 1) = 65.
    EXPECT_EQ(tab, QRectF(1, 79, 64, 20));

    // Less than 20 points narrower than the box, or asked for: a bar across the top.
    const QRectF wide = RXRoundedBox::titleRect(bounds, { 180, 14 }, 2);
    EXPECT_EQ(RXRoundedBox::titlePath(r, 4, wide, false).boundingRect(), QRectF(1, 79, 198, 20));
    EXPECT_EQ(RXRoundedBox::titlePath(r, 4, t, true).boundingRect(), QRectF(1, 79, 198, 20));
}

TEST(RXRoundedBoxTest, DrawsBackgroundBorderAndTabInTheirColours)
{
    RXRoundedBox box;
    box.resize(200, 100);
    box.setTitle(u"Assets"_s);
    box.setBorderColor(QColor(200, 0, 0));
    box.setBackgroundColor(QColor(0, 0, 200));
    QImage image = box.grab().toImage();
    EXPECT_TRUE(near(image.pixelColor(100, 60), QColor(0, 0, 200)));
    EXPECT_TRUE(near(image.pixelColor(1, 60), QColor(200, 0, 0)));
    EXPECT_TRUE(near(image.pixelColor(198, 60), QColor(200, 0, 0)));
    const QRectF tab = KitDrawing::toWidget(box.titlePathRect(), 100);
    ASSERT_FALSE(tab.isEmpty());
    // Right end of the tab, beyond the title text.
    EXPECT_TRUE(near(image.pixelColor(int(tab.right()) - 2, int(tab.center().y()) + 4), QColor(200, 0, 0)));
    // Beyond the tab, under the top border: the background again.
    EXPECT_TRUE(near(image.pixelColor(int(tab.right()) + 20, int(tab.center().y())), QColor(0, 0, 200)));

    box.setSelected(true);
    image = box.grab().toImage();
    EXPECT_TRUE(near(image.pixelColor(1, 60), KitDrawing::selectionColor()));
    EXPECT_TRUE(near(image.pixelColor(100, 60), QColor(0, 0, 200)));

    box.setSelected(false);
    box.setBorderWidth(0);
    image = box.grab().toImage();
    EXPECT_TRUE(near(image.pixelColor(0, 60), QColor(0, 0, 200))); // no outline
    const QRectF thinTab = KitDrawing::toWidget(box.titlePathRect(), 100);
    EXPECT_TRUE(
        near(image.pixelColor(int(thinTab.right()) - 2, int(thinTab.center().y()) + 4), QColor(200, 0, 0)));
}

TEST(RXRoundedBoxTest, PropertiesAreReachableByNameWithTheirDefaults)
{
    RXRoundedBox box;
    EXPECT_EQ(box.property("borderWidth").toDouble(), 2.0);
    EXPECT_EQ(box.property("borderRadius").toDouble(), 4.0);
    EXPECT_EQ(box.property("titleColor").value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(box.property("noiseOpacity").toDouble(), 0.0);
    EXPECT_TRUE(box.property("drawsTitle").toBool());
    EXPECT_TRUE(box.setProperty("selected", true));
    EXPECT_TRUE(box.isSelected());
}

TEST(RXRoundedBoxTest, GradientBackgroundRunsBottomToTopAndHidesTheFlatColour)
{
    RXRoundedBox box;
    box.resize(100, 100);
    box.setDrawsTitle(false);
    box.setBackgroundColor(Qt::red);
    box.setGradientStartColor(Qt::black);
    box.setGradientEndColor(Qt::white);
    box.setDrawsGradientBackground(true);
    const QImage image = box.grab().toImage();
    EXPECT_LT(qGray(image.pixel(50, 95)), 30);
    EXPECT_GT(qGray(image.pixel(50, 5)), 220);
    EXPECT_FALSE(near(image.pixelColor(50, 50), QColor(Qt::red), 60));
}

TEST(NWColoredViewTest, FillsColourTilesPatternAndStaysTransparentWithNeither)
{
    QWidget host;
    host.resize(80, 80);
    host.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0, 255, 0));
    host.setPalette(palette);
    auto* view = new NWColoredView(&host);
    view->setGeometry(10, 10, 60, 60);
    EXPECT_EQ(host.grab().toImage().pixelColor(40, 40), QColor(Qt::white));

    view->setBackgroundColor(QColor());
    EXPECT_EQ(host.grab().toImage().pixelColor(40, 40), QColor(0, 255, 0));

    ASSERT_FALSE(platform::image(u"Stucco_50"_s).isNull());
    view->setBackgroundColor(QColor(0, 0, 255));
    view->setBackgroundImageName(u"Stucco_50"_s);
    const QImage first = view->grab().toImage();
    view->move(23, 17); // moving the view keeps the tiles fixed to its origin
    const QImage moved = view->grab().toImage();
    EXPECT_EQ(first, moved);
    int bluish = 0;
    for (int x = 0; x < 60; ++x)
        bluish += first.pixelColor(x, 30).blue() > first.pixelColor(x, 30).red();
    EXPECT_GT(bluish, 30); // the colour shows through the translucent pattern
}

TEST(BVBlurredViewTest, BlursAndTintsWhatLiesBehind)
{
    QWidget host;
    host.resize(200, 100);
    struct Halves : QWidget {
        using QWidget::QWidget;
        void paintEvent(QPaintEvent*) override
        {
            QPainter p(this);
            p.fillRect(0, 0, width() / 2, height(), Qt::red);
            p.fillRect(width() / 2, 0, width() - width() / 2, height(), Qt::blue);
        }
    };
    auto* below = new Halves(&host);
    below->setGeometry(0, 0, 200, 100);
    auto* blurred = new BVBlurredView(&host);
    blurred->setGeometry(50, 0, 100, 100);
    blurred->setBlurRadius(6);
    blurred->setTintColor(QColor(255, 255, 255, 0));

    const QImage image = host.grab().toImage();
    const QColor middle = image.pixelColor(100, 50);
    EXPECT_GT(middle.red(), 40); // red and blue mixed across the edge
    EXPECT_GT(middle.blue(), 40);
    EXPECT_GT(image.pixelColor(55, 50).red(), 200); // far from the edge: still red
    EXPECT_EQ(image.pixelColor(10, 50), QColor(Qt::red)); // outside the view: untouched

    blurred->setTintColor(QColor::fromRgbF(1, 1, 1, 0.7f));
    blurred->setTintColor(QColor()); // keeps the previous tint
    EXPECT_EQ(blurred->tintColor(), QColor::fromRgbF(1, 1, 1, 0.7f));
    const QColor tinted = host.grab().toImage().pixelColor(55, 50);
    EXPECT_GT(tinted.green(), 150);
}

TEST(BVBlurredViewTest, SaturationScalesDistanceFromGrey)
{
    QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
    image.setPixel(0, 0, qRgb(150, 100, 100));
    BVBlurredView::saturate(image, 2);
    const QRgb p = image.pixel(0, 0);
    EXPECT_GT(qRed(p), 150);
    EXPECT_LT(qGreen(p), 100);
    image.setPixel(0, 0, qRgb(90, 90, 90));
    BVBlurredView::saturate(image, 2);
    EXPECT_EQ(image.pixel(0, 0), qRgb(90, 90, 90));
}

TEST(KitDrawingTest, AnEmojiNoFontDrawsIsLeftOut)
{
    EXPECT_EQ(KitDrawing::drawableEmoji(QStringLiteral("A")), QStringLiteral("A"));
    // A noncharacter: no font has a glyph for it, so neither does the whole text.
    const QString none = QString::fromUcs4(U"A\U0010FFFF");
    EXPECT_EQ(KitDrawing::drawableEmoji(none), QString());
}

TEST(CommandBarTest, ButtonsStandInTheBarsYUpFrameAndFollowTheAppearance)
{
    CommandBar bar;
    bar.resize(340, CommandBar::barHeight);
    bar.show();
    TBWindowButton* add = bar.addButton(CommandBar::addSpec(QStringLiteral("Add"), -118));
    TBWindowButton* warning = bar.addButton({ QStringLiteral("warning"), QStringLiteral("AddN"),
        QStringLiteral("AddR"), QStringLiteral("AddH"), QStringLiteral("AddN"), QString(), 10, 9, 23, 21 });
    // 118 in from the right, 9 up from the bottom; the bar is 41 high.
    EXPECT_EQ(add->geometry(), QRect(340 - 118, 41 - 9 - 23, 23, 23));
    EXPECT_EQ(warning->geometry(), QRect(10, 41 - 9 - 21, 23, 21));
    bar.resize(400, CommandBar::barHeight);
    EXPECT_EQ(add->x(), 400 - 118);
    EXPECT_EQ(add->toolTip(), QStringLiteral("Add"));
    ASSERT_FALSE(add->rolloverImage().isNull());

    const QImage light = add->rolloverImage();
    const QColor lightBar = bar.backgroundColor();
    platform::AppearanceController::instance().setAppearance(platform::Appearance::Dark);
    const QImage dark = add->rolloverImage();
    const QColor darkBar = bar.backgroundColor();
    platform::AppearanceController::instance().setAppearance(platform::Appearance::Light);
    EXPECT_NE(dark, light); // the rollover glyph has a twin for the dark bar
    EXPECT_LT(darkBar.lightness(), lightBar.lightness());
}

} // namespace
