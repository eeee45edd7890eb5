#include "platform/RoundSteps.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <limits>
#include <string>

namespace {

// The double nearest `digits` × 10^`exponent`.
double parsed(const char* digits, int exponent)
{
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%se%d", digits, exponent);
    double value = 0.0;
    std::from_chars(text, text + length, value);
    return value;
}

std::string shortest(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Every d × 10^n a double holds, and a value halfway to the next digit, step to the double
// nearest d × 10^n: an axis step read as 8.999...e307 or 1.0000000000000001e23 is no round amount.
TEST(RoundStepsTest, LeadingDigitStepsAreTheNearestDoubleAtEveryPowerOfTen)
{
    for (int n = 0; n <= 308; ++n) {
        for (int d = 1; d <= 9; ++d) {
            const char digit[] = { char('0' + d), 0 };
            const char halfDigit[] = { char('0' + d), '.', '5', 0 };
            const double round = parsed(digit, n);
            if (!std::isfinite(round))
                continue;
            EXPECT_EQ(shortest(platform::leadingDigitStep(round)), shortest(round)) << d << "e" << n;
            EXPECT_EQ(shortest(platform::leadingDigitStep(parsed(halfDigit, n))), shortest(round))
                << d << ".5e" << n;
        }
    }
    EXPECT_EQ(platform::leadingDigitStep(7189.0), 7000.0);
    EXPECT_EQ(platform::leadingDigitStep(std::numeric_limits<double>::max()), 1e308);
    EXPECT_EQ(platform::leadingDigitStep(0.5), 0.0);
    EXPECT_EQ(platform::leadingDigitStep(std::numeric_limits<double>::infinity()), 0.0);
}

} // namespace
