#pragma once

#include "platform/SaneGeometry.h"
#include <QAbstractAnimation>
#include <QByteArray>
#include <QPointer>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <vector>

/// Kinds of value the spring animation can move, by their components.
enum class SAValueKind {
    Number = 0,
    Point = 1,
    Size = 2,
    Rect = 3,
    AffineTransform = 4,
    Transform3D = 5,
    Other = 6
};
SAValueKind saValueKind(const QVariant& value);

/// Animates a property of an object from `fromValue` to `toValue` along the path of a damped
/// spring, sampled every millisecond until it comes to rest. Numbers, points, sizes,
/// rectangles, 2D transforms (QTransform) and 3D transforms (QMatrix4x4) can be animated.
/// The sampling always ends: a mass of 0 or less counts as 1, non-finite input gives no
/// samples, and at most `kMaximumSamples` are made, the end value last.
class SASpringAnimation : public QAbstractAnimation {
    Q_OBJECT
public:
    static constexpr int kMaximumSamples = 10000;

    explicit SASpringAnimation(QObject* parent = nullptr);
    /// An animation of `keyPath` (a property name) of `target`, owned by `parent` (the caller
    /// when none).
    static SASpringAnimation* animationWithKeyPath(
        QObject* target, const QByteArray& keyPath, QObject* parent = nullptr);

    QObject* targetObject() const { return m_target; }
    void setTargetObject(QObject* target) { m_target = target; }
    QByteArray keyPath() const { return m_keyPath; }
    void setKeyPath(const QByteArray& keyPath) { m_keyPath = keyPath; }

    double maxDuration() const { return m_maxDuration; }
    /// Seconds, 0 to a day; NaN is 0.
    void setMaxDuration(double seconds) { m_maxDuration = platform::saneValue(seconds, 0.0, 86400.0); }
    double stiffness() const { return m_stiffness; }
    void setStiffness(double stiffness) { m_stiffness = stiffness; }
    double damping() const { return m_damping; }
    /// Values of 0 or less are stored as 1.
    void setDamping(double damping);
    double mass() const { return m_mass; }
    void setMass(double mass) { m_mass = mass; }
    QVariant fromValue() const { return m_fromValue; }
    void setFromValue(const QVariant& value) { m_fromValue = value; }
    QVariant toValue() const { return m_toValue; }
    void setToValue(const QVariant& value) { m_toValue = value; }

    /// Seconds. Taken only when strictly below `maxDuration`.
    double durationSeconds() const { return m_duration; }
    void setDuration(double seconds);
    int duration() const override;

    /// Samples the spring for the current values; empty for a value kind it cannot move.
    void calculateInterpolatedValues();
    QVariantList interpolatedValues() const { return m_interpolatedValues; }
    QVariantList values() const { return m_interpolatedValues; }

    /// The spring's samples for each component, 1 ms apart, until it has come to rest.
    static std::vector<std::vector<double>> valuesFromNumbers(const std::vector<double>& from,
        const std::vector<double>& to, double stiffness, double damping, double mass);

    QString description() const;

Q_SIGNALS:
    void valueChanged(const QVariant& value);

protected:
    void updateCurrentTime(int currentTime) override;
    void updateState(State newState, State oldState) override;

private:
    QPointer<QObject> m_target;
    QByteArray m_keyPath;
    double m_maxDuration = 999;
    double m_stiffness = 300;
    double m_damping = 30;
    double m_mass = 5;
    double m_duration = 0.25;
    QVariant m_fromValue;
    QVariant m_toValue;
    QVariantList m_interpolatedValues;
};
