#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>

namespace platform {

/// `k` times `step` as the double nearest to that product of their decimal numbers. Beyond 2^53
/// the product of two doubles may miss it by a unit in the last place, which an amount's text
/// shows: 3 × 3e307 would read 89,999,999,999,999,990,000,... Below, the plain product.
inline double decimalMultiple(double k, double step)
{
    const double product = k * step;
    if (!std::isfinite(product) || std::abs(product) < 0x1p53)
        return product;
    // The significant digits of the step's shortest text and of k are all the product has.
    char text[64];
    auto written = std::to_chars(text, text + sizeof text, step);
    int digits = 0;
    for (const char* c = text; c != written.ptr && *c != 'e'; ++c)
        digits += (*c >= '0' && *c <= '9') ? 1 : 0;
    digits += int(std::floor(std::log10(std::max(std::abs(k), 1.0)))) + 1;
    written = std::to_chars(
        text, text + sizeof text, product, std::chars_format::scientific, std::clamp(digits, 1, 17) - 1);
    double nearest = product;
    const auto read = std::from_chars(text, written.ptr, nearest);
    return read.ec == std::errc() && std::isfinite(nearest) ? nearest : product;
}

/// A power of two at which `count` finite doubles, each scaled by it, add up to a double: for
/// values near the largest double, whose sum no double holds.
inline double summingScale(long long count)
{
    return std::ldexp(1.0, -std::ilogb(double(std::max(count, 1LL))) - 1);
}

/// `x` (at least 1 and finite) rounded down to its leading digit: 7,189 gives 7,000, 2e19
/// gives 2e19. Read off the shortest decimal text of `x`, so that the step is the double nearest
/// its decimal value at every power of ten: std::pow(10, n) is not always the double nearest
/// 10^n (1e23 comes out as 1.0000000000000001e23), and a step built on it is no round amount.
/// Returns 0 for anything below 1 or not finite.
inline double leadingDigitStep(double x)
{
    if (!std::isfinite(x) || x < 1.0)
        return 0.0;
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, x, std::chars_format::scientific);
    // "d.ddde+n" becomes "de+n".
    char* exponent = std::find(text, written.ptr, 'e');
    char* end = std::copy(exponent, written.ptr, text + 1);
    double step = 0.0;
    const auto read = std::from_chars(text, end, step);
    return read.ec == std::errc() ? step : 0.0;
}

} // namespace platform
