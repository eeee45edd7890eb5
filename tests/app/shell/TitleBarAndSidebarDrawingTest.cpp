#include "app/shell/NWDashboardSidebarView.h"
#include "app/shell/TitleBarLayout.h"
#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "uikit/window/TBWindowButton.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// DashboardN's top-left square spans 10..22 points; this row crosses its left edge at x 10.
constexpr int squareRowPoints = 15;
constexpr int squareLeftPoints = 10;

QImage canvas(int points, qreal ratio)
{
    QImage result(QSize(points, points) * ratio, QImage::Format_ARGB32_Premultiplied);
    result.setDevicePixelRatio(ratio);
    result.fill(Qt::transparent);
    return result;
}

// Device pixels in a row that are neither clear nor opaque, between two columns.
int partlyCoveredPixels(const QImage& image, int row, int fromColumn, int toColumn)
{
    int count = 0;
    for (int x = fromColumn; x <= toColumn; ++x) {
        const int alpha = qAlpha(image.pixel(x, row));
        if (alpha > 8 && alpha < 247)
            ++count;
    }
    return count;
}

TEST(TitleBarAndSidebarIcons, RenderAtTheDevicePixelRatioWithSharpEdges)
{
    const QImage sharp = platform::image(u"DashboardN"_s, QSize(48, 48), 2.0);
    ASSERT_FALSE(sharp.isNull());
    EXPECT_EQ(sharp.size(), QSize(96, 96));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(48, 48));

    QImage painted = canvas(48, 2.0);
    {
        QPainter painter(&painted);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(0, 0, 48, 48), sharp);
    }
    const int row = squareRowPoints * 2;
    const int edge = squareLeftPoints * 2;
    EXPECT_EQ(qAlpha(painted.pixel(edge - 2, row)), 0);
    EXPECT_EQ(qAlpha(painted.pixel(edge + 1, row)), 255);
    EXPECT_LE(partlyCoveredPixels(painted, row, edge - 2, edge + 1), 1);

    // What the buttons did before: the one-point image stretched over two device pixels.
    QImage stretched = canvas(48, 2.0);
    {
        QPainter painter(&stretched);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(0, 0, 48, 48), platform::image(u"DashboardN"_s, QSize(48, 48)));
    }
    EXPECT_GE(partlyCoveredPixels(stretched, row, edge - 2, edge + 1), 2);
}

TEST(TitleBarAndSidebarIcons, ImagesAreRenderedAgainForAnotherRatio)
{
    const QImage once = platform::image(u"PrintN"_s, QSize(23, 23));
    ASSERT_FALSE(once.isNull());
    EXPECT_EQ(once.devicePixelRatio(), 1.0);

    const QImage twice = platform::imageForDevicePixelRatio(once, 2.0);
    EXPECT_EQ(twice.size(), QSize(46, 46));
    EXPECT_EQ(twice.devicePixelRatio(), 2.0);
    EXPECT_EQ(twice, platform::image(u"PrintN"_s, QSize(23, 23), 2.0));
    EXPECT_EQ(platform::imageForDevicePixelRatio(twice, 1.0), once);
    EXPECT_EQ(platform::imageForDevicePixelRatio(twice, 1.5).size(), QSize(35, 35));

    // An image that did not come from the resources cannot be rendered again.
    QImage drawn(23, 23, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::red);
    EXPECT_EQ(platform::imageForDevicePixelRatio(drawn, 2.0).size(), QSize(23, 23));
}

TEST(TitleBarAndSidebarIcons, ButtonPaintsItsImageAtTheTargetsRatio)
{
    TBWindowButton button;
    button.resize(48, 48);
    // Set up as the window does, before any screen is known.
    button.setImage(platform::image(u"DashboardN"_s, QSize(48, 48)));

    QImage painted = canvas(48, 2.0);
    button.render(&painted, QPoint(), QRegion(), QWidget::DrawChildren);
    const int row = squareRowPoints * 2;
    const int edge = squareLeftPoints * 2;
    EXPECT_EQ(qAlpha(painted.pixel(edge - 2, row)), 0);
    EXPECT_EQ(qAlpha(painted.pixel(edge + 1, row)), 255);
    EXPECT_LE(partlyCoveredPixels(painted, row, edge - 2, edge + 1), 1);
}

class ShellInDarkAppearance : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::AppearanceController::instance().setAppearance(platform::Appearance::Dark);
    }
    void TearDown() override
    {
        platform::AppearanceController::instance().setAppearance(platform::Appearance::Light);
    }
};

TEST_F(ShellInDarkAppearance, TitleBarIconsCarryNoLightFill)
{
    const QColor background = platform::namedColor(u"WindowBackground"_s);
    for (const auto& spec : TitleBarLayout::buttons) {
        for (const char* name :
            { spec.normalImage, spec.rolloverImage, spec.pressedImage, spec.inactiveImage }) {
            const QImage icon = platform::image(QString::fromLatin1(name), QSize(23, 23), 2.0);
            ASSERT_FALSE(icon.isNull()) << name;
            QImage shown = canvas(23, 2.0);
            shown.fill(background);
            QPainter(&shown).drawImage(QPointF(0, 0), icon);
            int nearWhite = 0;
            for (int y = 0; y < shown.height(); ++y) {
                for (int x = 0; x < shown.width(); ++x) {
                    const QColor pixel = shown.pixelColor(x, y);
                    if (std::min({ pixel.red(), pixel.green(), pixel.blue() }) >= 0xD0)
                        ++nearWhite;
                }
            }
            EXPECT_EQ(nearWhite, 0) << name;
        }
    }
}

double meanGrey(const QImage& image, int column)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        sum += qGray(image.pixel(column, y));
    return sum / image.height();
}

TEST_F(ShellInDarkAppearance, SidebarIsSetOffFromTheContent)
{
    NWDashboardSidebarView sidebar;
    sidebar.resize(NWDashboardSidebarView::width, 300);
    const QImage grabbed = sidebar.grab().toImage();
    const int edge = grabbed.width() - 1;
    const double content = qGray(platform::namedColor(u"WindowBackground"_s).rgb());
    const double inside = meanGrey(grabbed, edge / 2);

    EXPECT_LT(std::abs(inside - content), 10) << "the fill alone does not tell them apart";
    EXPECT_GT(std::abs(meanGrey(grabbed, edge) - content), 25);
    EXPECT_GT(std::abs(meanGrey(grabbed, edge) - inside), 25);
}

TEST(ShellInLightAppearance, SidebarNeedsNoEdgeAgainstTheLightContent)
{
    platform::AppearanceController::instance().setAppearance(platform::Appearance::Light);
    NWDashboardSidebarView sidebar;
    sidebar.resize(NWDashboardSidebarView::width, 300);
    const QImage grabbed = sidebar.grab().toImage();
    const int edge = grabbed.width() - 1;
    EXPECT_NEAR(meanGrey(grabbed, edge), meanGrey(grabbed, edge / 2), 4);
    EXPECT_GT(qGray(platform::namedColor(u"WindowBackground"_s).rgb()) - meanGrey(grabbed, edge), 150);
}

} // namespace
