#pragma once

#include <QList>

/// A straight line fitted by ordinary least squares through the newest points of a series:
/// y = b·x + a. The annual chart projects net worth with it. A new object is the line y = 0.
class CurveFit {
public:
    /// Fits the last `fromSampleCount` points of `xd`/`yd` (every point when the count is 0,
    /// negative or not less than the number of points). Arrays of different lengths leave the
    /// line as it was. When fewer than two points are fitted or all fitted x are equal, the
    /// slope is undefined; the line is then flat through the mean of the fitted y (y = 0 when
    /// there are none), so a projection never shows a number that is not one; points whose
    /// sums leave the range of double give the line y = 0.
    void calculateTrend(const QList<double>& xd, const QList<double>& yd, int fromSampleCount);
    double getYValueForX(double x) const { return m_b * x + m_a; }

    double a() const { return m_a; }
    double b() const { return m_b; }

private:
    double m_a = 0;
    double m_b = 0;
};
