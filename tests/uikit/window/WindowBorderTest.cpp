#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "uikit/window/TBDefensiveWindow.h"
#include "uikit/window/TBWindowBorderView.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPalette>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// Every pixel of the outermost ring of `shot`, as the colours found there and how often.
QMap<QRgb, int> ringColours(const QImage& shot)
{
    QMap<QRgb, int> found;
    const int w = shot.width();
    const int h = shot.height();
    for (int x = 0; x < w; ++x) {
        ++found[shot.pixel(x, 0)];
        ++found[shot.pixel(x, h - 1)];
    }
    for (int y = 1; y < h - 1; ++y) {
        ++found[shot.pixel(0, y)];
        ++found[shot.pixel(w - 1, y)];
    }
    return found;
}

QWidget* filled(const QColor& colour, QWidget* parent)
{
    auto* widget = new QWidget(parent);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    return widget;
}

class TBWindowBorder : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        platform::AppearanceController::instance().setAppearance(
            GetParam() ? platform::Appearance::Dark : platform::Appearance::Light);
    }
    void TearDown() override
    {
        platform::AppearanceController::instance().setAppearance(platform::Appearance::Light);
    }
};

TEST_P(TBWindowBorder, AOnePixelOutlineInTheSeparatorColourLiesOverTheContent)
{
    const bool dark = GetParam();
    TBDefensiveWindow window;
    window.setTitleBarHeight(40);
    window.resize(420, 260);
    // Content in a colour of its own reaching every edge, and a child added to the shown
    // window itself later, over everything that was there before it.
    auto* layout = new QVBoxLayout(window.contentView());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(filled(Qt::red, nullptr));
    window.show();
    QWidget* late = filled(Qt::blue, &window);
    late->setGeometry(0, 200, 420, 60);
    late->show();

    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(420, 260)); // one device pixel per point offscreen
    const QColor expected = TBWindowBorderView::color(dark);
    const QMap<QRgb, int> ring = ringColours(shot);
    EXPECT_EQ(ring.keys(), QList<QRgb> { expected.rgb() })
        << "ring holds " << ring.size() << " colours, first " << QColor(ring.firstKey()).name().toStdString()
        << ", expected " << expected.name().toStdString();
    // Only the outermost pixel: the content and the late child show right inside it.
    EXPECT_EQ(shot.pixelColor(1, 120), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(418, 230), QColor(Qt::blue));
    // The outline passes the mouse on: the edge still resizes, the content still clicks.
    EXPECT_FALSE(qobject_cast<TBWindowBorderView*>(window.childAt(0, 120)));
    EXPECT_FALSE(qobject_cast<TBWindowBorderView*>(window.childAt(200, 120)));
}

TEST_P(TBWindowBorder, AMaximisedWindowHasNoOutline)
{
    TBDefensiveWindow window;
    window.resize(420, 260);
    auto* layout = new QVBoxLayout(window.contentView());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(filled(Qt::red, nullptr));
    window.showMaximized();
    ASSERT_TRUE(window.isMaximized());
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixelColor(0, shot.height() / 2), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(shot.width() - 1, shot.height() - 1), QColor(Qt::red));
}

INSTANTIATE_TEST_SUITE_P(Appearances, TBWindowBorder, ::testing::Values(false, true),
    [](const auto& info) { return info.param ? std::string("Dark") : std::string("Light"); });

TEST(TBWindowBorderColour, StandsOutFromTheWindowBackgroundInEitherAppearance)
{
    // Darker than a light window's background, lighter than a dark one's.
    EXPECT_LT(TBWindowBorderView::color(false).lightness() + 20,
        platform::namedColor(u"WindowBackground"_s, false).lightness());
    EXPECT_GT(TBWindowBorderView::color(true).lightness(),
        platform::namedColor(u"WindowBackground"_s, true).lightness() + 20);
}

} // namespace
