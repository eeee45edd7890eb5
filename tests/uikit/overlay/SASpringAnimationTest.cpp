#include "uikit/overlay/SASpringAnimation.h"
#include "support/Eventually.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTransform>

#include <cmath>
#include <limits>

namespace {

TEST(SASpringAnimation, TheLockSpinGives206SamplesWithoutOvershoot)
{
    const auto samples = SASpringAnimation::valuesFromNumbers({ 0 }, { 2 * M_PI }, 500, 90, 1);
    ASSERT_EQ(samples.size(), 206u);
    EXPECT_DOUBLE_EQ(samples.front()[0], 0); // the first sample is the start value
    for (std::size_t i = 1; i < samples.size(); ++i) {
        EXPECT_GE(samples[i][0], samples[i - 1][0]);
        EXPECT_LE(samples[i][0], 2 * M_PI + 1e-6);
    }
}

TEST(SASpringAnimation, SampleCountsForTheEdgeCases)
{
    EXPECT_EQ(SASpringAnimation::valuesFromNumbers({ 3 }, { 3 }, 300, 30, 5).size(), 1u);
    EXPECT_TRUE(SASpringAnimation::valuesFromNumbers({ 0 }, { 0 }, 300, 30, 5).empty());
    EXPECT_TRUE(SASpringAnimation::valuesFromNumbers({}, {}, 300, 30, 5).empty());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(SASpringAnimation::valuesFromNumbers({ 0 }, { nan }, 300, 30, 5).empty());
    EXPECT_TRUE(
        SASpringAnimation::valuesFromNumbers({ 0 }, { 1 }, std::numeric_limits<double>::infinity(), 30, 5)
            .empty());
    // A mass of 0 or less counts as 1.
    EXPECT_EQ(SASpringAnimation::valuesFromNumbers({ 0 }, { 1 }, 500, 90, 0).size(),
        SASpringAnimation::valuesFromNumbers({ 0 }, { 1 }, 500, 90, 1).size());
    // A barely damped spring is cut at the cap, ending on the end value.
    const auto capped = SASpringAnimation::valuesFromNumbers({ 0 }, { 1 }, 1000, 0.0001, 1);
    ASSERT_EQ(capped.size(), std::size_t(SASpringAnimation::kMaximumSamples));
    EXPECT_FLOAT_EQ(float(capped.back()[0]), 1.0f);
}

TEST(SASpringAnimation, PropertiesDefaultsAndGuards)
{
    SASpringAnimation animation;
    EXPECT_EQ(animation.mass(), 5);
    EXPECT_EQ(animation.damping(), 30);
    EXPECT_EQ(animation.stiffness(), 300);
    EXPECT_EQ(animation.maxDuration(), 999);
    EXPECT_EQ(animation.duration(), 250);
    animation.setDamping(0);
    EXPECT_EQ(animation.damping(), 1);
    animation.setDamping(-4);
    EXPECT_EQ(animation.damping(), 1);
    animation.setMaxDuration(0.5);
    animation.setDuration(0.5); // not strictly below the maximum
    EXPECT_EQ(animation.duration(), 250);
    animation.setDuration(0.45);
    EXPECT_EQ(animation.duration(), 450);
}

TEST(SASpringAnimation, KindsOfValueAreSampledAndBoxedBack)
{
    EXPECT_EQ(saValueKind(QVariant(true)), SAValueKind::Other);
    EXPECT_EQ(saValueKind(QVariant(QChar(u'x'))), SAValueKind::Other);
    EXPECT_EQ(saValueKind(QVariant(QPointF(1, 2))), SAValueKind::Point);
    EXPECT_EQ(saValueKind(QVariant::fromValue(QTransform())), SAValueKind::AffineTransform);

    SASpringAnimation animation;
    animation.setFromValue(true);
    animation.setToValue(false);
    animation.calculateInterpolatedValues();
    EXPECT_TRUE(animation.interpolatedValues().isEmpty());

    animation.setFromValue(QRectF(0, 0, 10, 10));
    animation.setToValue(QRectF(100, 50, 20, 10));
    animation.calculateInterpolatedValues();
    const QVariantList values = animation.values();
    ASSERT_FALSE(values.isEmpty());
    EXPECT_EQ(values.first().toRectF(), QRectF(0, 0, 10, 10));
    EXPECT_NEAR(values.last().toRectF().x(), 100, 0.05);
    EXPECT_NEAR(values.last().toRectF().height(), 10, 1e-6);
}

TEST(SASpringAnimation, PlaysItsSamplesOnTheTargetProperty)
{
    QObject target;
    target.setProperty("angle", 0.0);
    auto* animation = SASpringAnimation::animationWithKeyPath(&target, "angle", &target);
    animation->setStiffness(500);
    animation->setDamping(90);
    animation->setMass(1);
    animation->setMaxDuration(0.5);
    animation->setDuration(0.45);
    animation->setFromValue(0.0);
    animation->setToValue(2 * M_PI);
    QSignalSpy finished(animation, &QAbstractAnimation::finished);
    animation->start();
    EXPECT_EQ(animation->duration(), 206); // one sample per millisecond, below the maximum
    EXPECT_EVENTUALLY_EQ(finished.count(), 1);
    EXPECT_NEAR(target.property("angle").toDouble(), 2 * M_PI, 1e-3);
    EXPECT_TRUE(animation->description().contains(QStringLiteral("keyPath: angle")));
}

} // namespace
