#include "charts/common/CurveFit.h"

#include <cmath>

void CurveFit::calculateTrend(const QList<double>& xd, const QList<double>& yd, int fromSampleCount)
{
    if (xd.size() != yd.size())
        return;
    const qsizetype count = xd.size();
    const qsizetype first = (fromSampleCount > 0 && count > fromSampleCount) ? count - fromSampleCount : 0;
    const double fitted = double(count - first);

    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    bool allXEqual = true;
    for (qsizetype i = first; i < count; ++i) {
        const double x = xd[i];
        const double y = yd[i];
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
        allXEqual = allXEqual && x == xd[first];
    }
    if (fitted == 0) {
        m_a = 0;
        m_b = 0;
        return;
    }
    const double slope = allXEqual ? 0.0 : (sxy - sx * sy / fitted) / (sxx - sx * sx / fitted);
    if (!std::isfinite(slope)) {
        m_a = sy / fitted;
        m_b = 0;
    } else {
        m_b = slope;
        m_a = sy / fitted - (sx / fitted) * m_b;
    }
    // Samples at the ends of double have no line a chart can draw: a flat line at 0 instead.
    if (!std::isfinite(m_a) || !std::isfinite(m_b)) {
        m_a = 0;
        m_b = 0;
    }
}
