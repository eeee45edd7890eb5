#include "uikit/overlay/PORoundProgressView.h"
#include "uikit/overlay/SISpinningProgressIndicator.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

namespace {

// The widget as drawn over a plain background.
QImage renderOn(QWidget& widget, const QColor& background)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(background);
    widget.render(&image);
    return image;
}

TEST(SISpinningProgressIndicator, LitFinTravelsClockwiseAndFadesOutWhenStopped)
{
    SISpinningProgressIndicator spinner;
    spinner.resize(60, 60);
    spinner.show();
    spinner.startAnimation();
    EXPECT_TRUE(spinner.isAnimating());
    EXPECT_TRUE(spinner.isTicking());
    std::vector<int> lit;
    for (int i = 0; i < 4; ++i) {
        spinner.updateFrame();
        lit.push_back(spinner.position());
        EXPECT_EQ(spinner.finAlphas()[spinner.position()], 1.0);
    }
    EXPECT_EQ(lit, (std::vector<int> { 0, 11, 10, 9 }));
    EXPECT_NEAR(spinner.finAlphas()[0], 0.85 * 0.85 * 0.85, 1e-9);

    spinner.stopAnimation();
    EXPECT_TRUE(spinner.isFadingOut());
    spinner.startAnimation(); // restarts at once during the fade
    EXPECT_FALSE(spinner.isFadingOut());
    EXPECT_EQ(spinner.position(), 1);

    spinner.stopAnimation();
    int frames = 0;
    while (spinner.isAnimating() && frames < 100) {
        spinner.updateFrame();
        ++frames;
    }
    EXPECT_FALSE(spinner.isAnimating());
    EXPECT_LT(frames, 100);
    EXPECT_FALSE(spinner.isTicking());
    EXPECT_TRUE(spinner.isVisible()); // displayed when stopped
}

TEST(SISpinningProgressIndicator, HiddenWhenStoppedUnlessDisplayedAndDeterminateDoesNotSpin)
{
    SISpinningProgressIndicator spinner;
    spinner.show();
    spinner.setDisplayedWhenStopped(false);
    EXPECT_FALSE(spinner.isVisible());
    spinner.startAnimation();
    EXPECT_TRUE(spinner.isVisible());
    spinner.stopAnimation();
    int frames = 0;
    while (spinner.isAnimating() && frames < 200) {
        spinner.updateFrame();
        ++frames;
    }
    EXPECT_NEAR(spinner.finAlphas()[3], 0.01, 0.011);
    EXPECT_FALSE(spinner.isVisible());

    spinner.setDisplayedWhenStopped(true);
    spinner.startAnimation();
    spinner.setDoubleValue(25); // turns determinate and fades out
    EXPECT_FALSE(spinner.isIndeterminate());
    EXPECT_TRUE(spinner.isFadingOut());
    SISpinningProgressIndicator determinate;
    determinate.setIndeterminate(false);
    determinate.startAnimation();
    EXPECT_FALSE(determinate.isAnimating());
}

// Quarter pies fill from the top towards the right, whatever the maximum.
TEST(SISpinningProgressIndicator, DeterminatePieFillsAQuarterAndSurvivesAZeroMaximum)
{
    SISpinningProgressIndicator spinner;
    spinner.resize(100, 100);
    spinner.setColor(Qt::black);
    spinner.setDoubleValue(25);
    QImage image = renderOn(spinner, Qt::white);
    EXPECT_LT(qGray(image.pixel(70, 30)), 100); // upper right: filled
    EXPECT_GT(qGray(image.pixel(30, 30)), 200); // upper left: empty
    EXPECT_GT(qGray(image.pixel(70, 70)), 200); // lower right: empty

    spinner.setMaxValue(0);
    image = renderOn(spinner, Qt::white);
    EXPECT_GT(qGray(image.pixel(70, 30)), 200);
}

TEST(PORoundProgressView, PieAndRingFillClockwiseFromTheTop)
{
    PORoundProgressView view;
    view.resize(100, 100);
    view.setBackgroundTintColor(Qt::transparent);
    view.setProgress(0.25);
    QImage image = renderOn(view, Qt::black);
    EXPECT_GT(qGray(image.pixel(70, 30)), 200);
    EXPECT_LT(qGray(image.pixel(30, 30)), 50);

    view.setAnnular(true);
    view.setProgress(0.5); // the right half of the ring
    image = renderOn(view, Qt::black);
    EXPECT_GT(qGray(image.pixel(97, 50)), 200);
    EXPECT_LT(qGray(image.pixel(3, 50)), 50);
    EXPECT_LT(qGray(image.pixel(50, 50)), 50); // a ring, not a pie
}

} // namespace
