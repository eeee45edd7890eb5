#include "charts/kit/ChartAnimation.h"

#include <QEasingCurve>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>

namespace chart {

namespace {

QEasingCurve easing(AnimationCurve curve)
{
    switch (curve) {
    case AnimationCurve::Linear:
        return QEasingCurve::Linear;
    case AnimationCurve::BackIn:
        return QEasingCurve::InBack;
    case AnimationCurve::BackOut:
        return QEasingCurve::OutBack;
    case AnimationCurve::BackInOut:
        return QEasingCurve::InOutBack;
    case AnimationCurve::BounceIn:
        return QEasingCurve::InBounce;
    case AnimationCurve::BounceOut:
        return QEasingCurve::OutBounce;
    case AnimationCurve::BounceInOut:
        return QEasingCurve::InOutBounce;
    case AnimationCurve::Default:
        break;
    }
    return QEasingCurve::InOutQuad;
}

} // namespace

QAbstractAnimation* animate(QObject* target, const QByteArray& property, const QVariant& from,
    const QVariant& to, int durationMs, int delayMs, AnimationCurve curve)
{
    Q_ASSERT(target);
    if (!target)
        return nullptr;
    auto* group = new QSequentialAnimationGroup(target);
    if (delayMs > 0)
        group->addPause(delayMs);
    auto* change = new QPropertyAnimation(target, property, group);
    change->setStartValue(from);
    change->setEndValue(to);
    change->setDuration(qMax(0, durationMs));
    change->setEasingCurve(easing(curve));
    group->addAnimation(change);
    // Until the delay is over the value stays where the caller left it, as it does on screen.
    group->start(QAbstractAnimation::DeleteWhenStopped);
    return group;
}

} // namespace chart
