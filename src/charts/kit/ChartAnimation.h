#pragma once

#include <QByteArray>
#include <QVariant>

class QAbstractAnimation;
class QObject;

namespace chart {

// How an animated value moves from its start to its end, by the design's numbers.
enum class AnimationCurve {
    Default = 0, // ease in and out
    Linear = 1,
    BackIn = 2,
    BackOut = 3,
    BackInOut = 4,
    BounceIn = 5,
    BounceOut = 6,
    BounceInOut = 7,
};

// Animates a property of a chart object (a plot's "opacity", a pie's "startAngle",
// "pieInnerRadius" or "pieRadius") from `from` to `to` over `durationMs`, after `delayMs`. The
// property keeps `to` afterwards. The animation is returned running; it belongs to `target` and
// deletes itself when it ends or is stopped (keep it in a QPointer), leaving the property where
// it is. None for no target.
QAbstractAnimation* animate(QObject* target, const QByteArray& property, const QVariant& from,
    const QVariant& to, int durationMs, int delayMs = 0, AnimationCurve curve = AnimationCurve::Default);

} // namespace chart
