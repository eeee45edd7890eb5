#include "uikit/window/TBGeometry.h"

#include "platform/SaneGeometry.h"
#include "platform/YUpGeometry.h"

#include <QVariant>
#include <QWidget>

#include <array>
#include <cmath>

namespace TBGeometry {

namespace {

constexpr const char* kMaskProperty = "_tb_autoresizingMask";

// Shares `delta` among the flexible parts of one axis: lengths {lead margin, size, trail margin}.
std::array<double, 3> share(
    double delta, const std::array<double, 3>& lengths, const std::array<bool, 3>& flexible)
{
    std::array<double, 3> result { 0, 0, 0 };
    double total = 0;
    int count = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (flexible[i]) {
            total += std::max(0.0, lengths[i]);
            ++count;
        }
    }
    if (count == 0)
        return result;
    for (std::size_t i = 0; i < 3; ++i) {
        if (!flexible[i])
            continue;
        result[i] = total > 0 ? delta * std::max(0.0, lengths[i]) / total : delta / count;
    }
    return result;
}

// Maps `point` from `from`'s coordinates to `to`'s. The two widgets may be siblings or
// cousins (a title bar's buttons live next to the bar view, not inside it), so the mapping
// goes through their common top-level widget, or through the screen when they have none.
QPoint mapBetween(const QWidget* from, const QWidget* to, QPoint point)
{
    if (from == to)
        return point;
    const QWidget* top = from->window();
    if (top == to->window())
        return to->mapFrom(top, from->mapTo(top, point));
    return to->mapFromGlobal(from->mapToGlobal(point));
}

} // namespace

void setFrame(QWidget* widget, const QRectF& yUpFrame, const QWidget* space)
{
    if (!widget || !space)
        return;
    const QRectF inSpace = platform::flipped(platform::saneRect(yUpFrame), space->height());
    QPoint topLeft(qRound(inSpace.x()), qRound(inSpace.y()));
    if (QWidget* parent = widget->parentWidget())
        topLeft = mapBetween(space, parent, topLeft);
    widget->setGeometry(QRect(topLeft, QSize(qRound(inSpace.width()), qRound(inSpace.height()))));
}

QRectF frame(const QWidget* widget, const QWidget* space)
{
    if (!widget || !space)
        return {};
    QPoint topLeft = widget->pos();
    if (QWidget* parent = widget->parentWidget())
        topLeft = mapBetween(parent, space, topLeft);
    return platform::flipped(QRectF(topLeft, QSizeF(widget->size())), space->height());
}

QRectF trafficLightFrame(
    int index, const QSizeF& size, double superviewHeight, double leftMargin, double topMargin, bool centered)
{
    const double x = leftMargin + index * (size.width() + 6);
    const double y
        = centered ? superviewHeight / 2 - size.height() / 2 : superviewHeight - size.height() - topMargin;
    return { x, y, size.width(), size.height() };
}

double titleBarHeightFor(double requested, double minimum)
{
    return std::max(platform::saneLength(minimum), platform::saneLength(requested));
}

QRectF frameKeepingTopEdge(const QRectF& frame, double delta)
{
    const QRectF sane = platform::saneRect(frame);
    const double d = platform::saneCoordinate(delta);
    return platform::saneRect({ sane.x(), sane.y() - d, sane.width(), sane.height() + d });
}

QRectF autoresizedFrame(
    AutoresizingMask mask, const QRectF& frame, const QSizeF& oldSize, const QSizeF& newSize)
{
    const auto horizontal = share(newSize.width() - oldSize.width(),
        { frame.x(), frame.width(), oldSize.width() - frame.x() - frame.width() },
        { mask.testFlag(Autoresizing::MinXMargin), mask.testFlag(Autoresizing::WidthSizable),
            mask.testFlag(Autoresizing::MaxXMargin) });
    const auto vertical = share(newSize.height() - oldSize.height(),
        { frame.y(), frame.height(), oldSize.height() - frame.y() - frame.height() },
        { mask.testFlag(Autoresizing::MinYMargin), mask.testFlag(Autoresizing::HeightSizable),
            mask.testFlag(Autoresizing::MaxYMargin) });
    return { frame.x() + horizontal[0], frame.y() + vertical[0], frame.width() + horizontal[1],
        frame.height() + vertical[1] };
}

void setAutoresizingMask(QWidget* widget, AutoresizingMask mask)
{
    if (widget)
        widget->setProperty(kMaskProperty, mask.toInt());
}

AutoresizingMask autoresizingMask(const QWidget* widget)
{
    return widget ? AutoresizingMask::fromInt(widget->property(kMaskProperty).toInt()) : AutoresizingMask();
}

void applyAutoresizing(QWidget* container, const QSizeF& oldSize)
{
    if (!container || oldSize.isEmpty())
        return;
    const QSizeF newSize = container->size();
    for (QObject* child : container->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        const AutoresizingMask mask = autoresizingMask(widget);
        if (!mask)
            continue;
        // Frames are taken in the old y-up space, which starts at the old height.
        const QRectF old = platform::flipped(QRectF(widget->geometry()), oldSize.height());
        const QRectF next
            = platform::flipped(autoresizedFrame(mask, old, oldSize, newSize), newSize.height());
        widget->setGeometry(platform::saneRect(next).toRect());
    }
}

void DragAccumulator::setThreshold(double threshold)
{
    m_threshold = platform::saneLength(threshold);
}

std::optional<QPointF> DragAccumulator::add(const QPointF& movement)
{
    m_pending += platform::sanePoint(movement);
    if (std::abs(m_pending.x()) >= m_threshold || std::abs(m_pending.y()) >= m_threshold) {
        const QPointF offset = m_pending;
        m_pending = {};
        return offset;
    }
    return std::nullopt;
}

} // namespace TBGeometry
