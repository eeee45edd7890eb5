#include "platform/Expected.h"

#include <gtest/gtest.h>

#include <memory>

using namespace platform;

namespace {

Expected<int> parsePositive(int n)
{
    if (n <= 0)
        return Unexpected(QStringLiteral("not positive: %1").arg(n));
    return n;
}

TEST(ExpectedTest, CarriesEitherTheValueOrTheErrorText)
{
    const auto good = parsePositive(3);
    ASSERT_TRUE(good);
    EXPECT_EQ(*good, 3);
    EXPECT_EQ(good.errorIfAny(), std::nullopt);
    EXPECT_EQ(good.valueOr(7), 3);

    const auto bad = parsePositive(-2);
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error(), QStringLiteral("not positive: -2"));
    EXPECT_EQ(bad.errorIfAny(), MaybeError(QStringLiteral("not positive: -2")));
    EXPECT_EQ(bad.valueOr(7), 7);
}

TEST(ExpectedTest, AStringValueIsNotMistakenForAnError)
{
    Expected<QString> text(QStringLiteral("value"));
    Expected<QString> failure(Unexpected(QStringLiteral("why")));
    ASSERT_TRUE(text.hasValue());
    EXPECT_EQ(text.value(), QStringLiteral("value"));
    ASSERT_FALSE(failure.hasValue());
    EXPECT_EQ(failure.error(), QStringLiteral("why"));
}

TEST(ExpectedTest, MovesOutValuesThatCannotBeCopied)
{
    Expected<std::unique_ptr<int>> owned(std::make_unique<int>(5));
    std::unique_ptr<int> taken = std::move(owned).value();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(*taken, 5);
}

} // namespace
