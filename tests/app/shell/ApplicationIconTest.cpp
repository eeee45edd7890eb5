#include "ShellTestSupport.h"

#include "app/shell/ApplicationSetup.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

// The icon's rounded green square: opaque in the middle, transparent in the corners.
void expectDrawnIcon(const QImage& image, int size)
{
    ASSERT_FALSE(image.isNull()) << size;
    EXPECT_EQ(image.size(), QSize(size, size));
    const QColor middle = image.pixelColor(size / 2, size - size / 8);
    EXPECT_EQ(middle.alpha(), 255) << size;
    EXPECT_GT(middle.green(), middle.red()) << size;
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << size;
}

TEST(ApplicationIcon, LoadsFromTheResourcesAtEverySize)
{
    const QIcon icon = ApplicationSetup::applicationIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : { 16, 48, 256 })
        expectDrawnIcon(icon.pixmap(QSize(size, size)).toImage(), size);
}

TEST(ApplicationIcon, HoldsEachSizeDrawnForItSmallestFirst)
{
    const QList<QSize> sizes = ApplicationSetup::applicationIcon().availableSizes();
    QList<QSize> expected;
    for (const int size : ApplicationSetup::iconSizes)
        expected.append(QSize(size, size));
    EXPECT_EQ(sizes, expected);
    EXPECT_EQ(expected.first(), QSize(16, 16));
    EXPECT_EQ(expected.last(), QSize(256, 256));
}

class ApplicationIconOnWindow : public mervane::test::ShellTest { };

TEST_F(ApplicationIconOnWindow, TheMainWindowCarriesIt)
{
    AppDelegate& delegate = makeDelegate();
    const QIcon icon = delegate.windowWidget()->windowIcon();
    EXPECT_EQ(icon.availableSizes(), ApplicationSetup::applicationIcon().availableSizes());
    expectDrawnIcon(icon.pixmap(QSize(48, 48)).toImage(), 48);
}

} // namespace
