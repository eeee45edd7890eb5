#include "uikit/overlay/SASpringAnimation.h"

#include <QMatrix4x4>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QTransform>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

SAValueKind saValueKind(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        return SAValueKind::Number;
    case QMetaType::QPointF:
    case QMetaType::QPoint:
        return SAValueKind::Point;
    case QMetaType::QSizeF:
    case QMetaType::QSize:
        return SAValueKind::Size;
    case QMetaType::QRectF:
    case QMetaType::QRect:
        return SAValueKind::Rect;
    case QMetaType::QTransform:
        return SAValueKind::AffineTransform;
    case QMetaType::QMatrix4x4:
        return SAValueKind::Transform3D;
    default:
        return SAValueKind::Other;
    }
}

namespace {
std::vector<double> components(const QVariant& value, SAValueKind kind)
{
    switch (kind) {
    case SAValueKind::Number:
        return { value.toDouble() };
    case SAValueKind::Point: {
        const QPointF p = value.toPointF();
        return { p.x(), p.y() };
    }
    case SAValueKind::Size: {
        const QSizeF s = value.toSizeF();
        return { s.width(), s.height() };
    }
    case SAValueKind::Rect: {
        const QRectF r = value.toRectF();
        return { r.x(), r.y(), r.width(), r.height() };
    }
    case SAValueKind::AffineTransform: {
        const QTransform t = value.value<QTransform>();
        return { t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy() };
    }
    case SAValueKind::Transform3D: {
        const QMatrix4x4 m = value.value<QMatrix4x4>();
        std::vector<double> result;
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column)
                result.push_back(m(row, column));
        }
        return result;
    }
    case SAValueKind::Other:
        break;
    }
    return {};
}

QVariant boxed(const std::vector<double>& c, SAValueKind kind)
{
    switch (kind) {
    case SAValueKind::Number:
        return c[0];
    case SAValueKind::Point:
        return QPointF(c[0], c[1]);
    case SAValueKind::Size:
        return QSizeF(c[0], c[1]);
    case SAValueKind::Rect:
        return QRectF(c[0], c[1], c[2], c[3]);
    case SAValueKind::AffineTransform:
        return QVariant::fromValue(QTransform(c[0], c[1], c[2], c[3], c[4], c[5]));
    case SAValueKind::Transform3D: {
        QMatrix4x4 m;
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column)
                m(row, column) = float(c[std::size_t(row * 4 + column)]);
        }
        return QVariant::fromValue(m);
    }
    case SAValueKind::Other:
        break;
    }
    return {};
}

bool allFinite(const std::vector<double>& values)
{
    for (double v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}
} // namespace

SASpringAnimation::SASpringAnimation(QObject* parent) : QAbstractAnimation(parent)
{
}

SASpringAnimation* SASpringAnimation::animationWithKeyPath(
    QObject* target, const QByteArray& keyPath, QObject* parent)
{
    auto* animation = new SASpringAnimation(parent);
    animation->setTargetObject(target);
    animation->setKeyPath(keyPath);
    return animation;
}

void SASpringAnimation::setDamping(double damping)
{
    m_damping = damping <= 0 ? 1 : damping;
}

void SASpringAnimation::setDuration(double seconds)
{
    seconds = platform::saneValue(seconds, 0.0, 86400.0);
    if (seconds < m_maxDuration)
        m_duration = seconds;
}

int SASpringAnimation::duration() const
{
    return int(std::lround(m_duration * 1000));
}

std::vector<std::vector<double>> SASpringAnimation::valuesFromNumbers(
    const std::vector<double>& from, const std::vector<double>& to, double k, double c, double m)
{
    std::vector<std::vector<double>> samples;
    const std::size_t n = std::min(from.size(), to.size());
    if (n == 0 || !allFinite(from) || !allFinite(to) || !std::isfinite(k) || !std::isfinite(c)
        || !std::isfinite(m))
        return samples;
    if (m <= 0)
        m = 1;
    // Components are read in single precision, as the thresholds are.
    std::vector<float> start(n), end(n), delta(n), threshold(n);
    for (std::size_t i = 0; i < n; ++i) {
        start[i] = float(from[i]);
        end[i] = float(to[i]);
        delta[i] = end[i] - start[i];
        threshold[i] = std::fabs(delta[i]) * 0.0001f;
    }
    double omega = std::sqrt(k / m - (c * c) / (4 * m * m));
    if (std::isnan(omega))
        omega = 0; // over-damped
    std::vector<double> previous(n, 0.0), current(n);
    double t = 0;
    for (;;) {
        const double decay = std::exp(-c * t / (2 * m)) * std::cos(omega * t);
        for (std::size_t i = 0; i < n; ++i) {
            const double x = delta[i] == 0 ? 0.0 : delta[i] * decay;
            current[i] = start[i] + delta[i] - x;
        }
        bool atRest = true;
        for (std::size_t i = 0; i < n && atRest; ++i) {
            atRest = std::fabs(float(current[i] - previous[i])) <= threshold[i]
                && std::fabs(float(previous[i] - end[i])) <= threshold[i];
        }
        if (atRest)
            break;
        if (samples.size() + 1 >= std::size_t(kMaximumSamples)) {
            samples.emplace_back(end.begin(), end.end());
            break;
        }
        previous = current;
        samples.push_back(previous);
        t += double(0.001f);
    }
    return samples;
}

void SASpringAnimation::calculateInterpolatedValues()
{
    const SAValueKind kind = saValueKind(m_fromValue);
    m_interpolatedValues.clear();
    if (kind == SAValueKind::Other || !m_toValue.isValid())
        return;
    const auto samples = valuesFromNumbers(
        components(m_fromValue, kind), components(m_toValue, kind), m_stiffness, m_damping, m_mass);
    for (const auto& sample : samples)
        m_interpolatedValues << boxed(sample, kind);
}

void SASpringAnimation::updateState(State newState, State oldState)
{
    if (oldState == Stopped && newState == Running) {
        calculateInterpolatedValues();
        setDuration(double(m_interpolatedValues.size()) * 0.001);
    }
    QAbstractAnimation::updateState(newState, oldState);
}

void SASpringAnimation::updateCurrentTime(int currentTime)
{
    const qsizetype count = m_interpolatedValues.size();
    if (count == 0)
        return;
    const int total = duration();
    qsizetype index = count - 1;
    if (total > 0 && currentTime < total)
        index = std::min<qsizetype>(count - 1, qsizetype(double(currentTime) / total * (count - 1) + 0.5));
    const QVariant value = m_interpolatedValues.at(index);
    if (m_target && !m_keyPath.isEmpty())
        m_target->setProperty(m_keyPath.constData(), value);
    Q_EMIT valueChanged(value);
}

QString SASpringAnimation::description() const
{
    return u"<%1: %2> mass: %3, damping: %4, stiffness: %5, keyPath: %6, toValue: %7, fromValue %8"_s.arg(
        QString::fromLatin1(metaObject()->className()),
        u"0x"_s + QString::number(reinterpret_cast<quintptr>(this), 16), QString::number(m_mass, 'f', 6),
        QString::number(m_damping, 'f', 6), QString::number(m_stiffness, 'f', 6),
        QString::fromLatin1(m_keyPath), m_toValue.toString(), m_fromValue.toString());
}
