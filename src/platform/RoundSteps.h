#pragma once

#include <algorithm>
#include <cmath>

namespace platform {

/// `x` (at least 1 and finite) rounded down to its leading digit: 7,189 gives 7,000, 2e19
/// gives 2e19. Worked out from the exponent rather than from the number's text, which no
/// integer type holds beyond about 9e18, so that an axis of any finite size has a step.
/// Returns 0 for anything below 1 or not finite.
inline double leadingDigitStep(double x)
{
    if (!std::isfinite(x) || x < 1.0)
        return 0.0;
    double power = std::pow(10.0, std::floor(std::log10(x)));
    // log10 may round across a power of ten.
    if (power > x)
        power /= 10.0;
    else if (power * 10.0 <= x)
        power *= 10.0;
    return std::min(std::floor(x / power), 9.0) * power;
}

} // namespace platform
