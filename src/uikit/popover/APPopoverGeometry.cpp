#include "uikit/popover/APPopoverGeometry.h"

namespace APPopoverGeometry {

Edge edgeOf(int position)
{
    switch (position) {
    case 0:
    case 4:
    case 5:
        return Edge::Right;
    case 1:
    case 10:
    case 11:
        return Edge::Top;
    case 2:
    case 6:
    case 7:
        return Edge::Left;
    case 3:
    case 8:
    case 9:
        return Edge::Bottom;
    default:
        return Edge::None;
    }
}

qreal Metrics::offCentreInset() const
{
    return arrowHeight / 2 + 2 * borderWidth + (drawRoundCornerBesideArrow ? cornerRadius : 0);
}

namespace {
// Grows `r` on the arrow side of `edge` by `d` (negative shrinks).
QRectF growOnArrowSide(QRectF r, Edge edge, qreal d)
{
    switch (edge) {
    case Edge::Right:
        r.setWidth(r.width() + d);
        break;
    case Edge::Top:
        r.setHeight(r.height() + d);
        break;
    case Edge::Left:
        r = QRectF(r.x() - d, r.y(), r.width() + d, r.height());
        break;
    case Edge::Bottom:
        r = QRectF(r.x(), r.y() - d, r.width(), r.height() + d);
        break;
    case Edge::None:
        break;
    }
    return r;
}

QRectF grow(const QRectF& r, qreal d)
{
    return r.adjusted(-d, -d, d, d);
}
} // namespace

QRectF frameRectForContentRect(const Metrics& m, const QRectF& content)
{
    const QRectF withMargin = grow(content, m.viewMargin);
    return grow(growOnArrowSide(withMargin, edgeOf(m.position), m.arrowRoom()), m.borderWidth);
}

QRectF contentRectForFrameRect(const Metrics& m, const QRectF& frame)
{
    const QRectF inner = grow(frame, -m.borderWidth);
    return grow(growOnArrowSide(inner, edgeOf(m.position), -m.arrowRoom()), -m.viewMargin);
}

QPointF attachmentPointForRect(const Metrics& m, const QRectF& f)
{
    const qreal k = m.offCentreInset();
    const qreal minX = f.left(), maxX = f.right(), minY = f.top(), maxY = f.bottom();
    const qreal midX = f.center().x(), midY = f.center().y();
    switch (m.position) {
    case 0:
        return { maxX, midY };
    case 1:
        return { midX, maxY };
    case 2:
        return { minX, midY };
    case 3:
        return { midX, minY };
    case 4:
        return { maxX, minY + k };
    case 5:
        return { maxX, maxY - k };
    case 6:
        return { minX, minY + k };
    case 7:
        return { minX, maxY - k };
    case 8:
        return { maxX - k, minY };
    case 9:
        return { minX + k, minY };
    case 10:
        return { maxX - k, maxY };
    case 11:
        return { minX + k, maxY };
    default:
        return { 0, 0 };
    }
}

namespace {
void appendArrow(const Metrics& m, QPainterPath& path)
{
    if (!m.drawsArrow)
        return;
    const QPointF c = path.currentPosition();
    const qreal aw = m.arrowWidth, ah = m.arrowHeight;
    switch (edgeOf(m.position)) {
    case Edge::Right:
        path.lineTo(c.x() + ah, c.y() - aw / 2);
        path.lineTo(c.x(), c.y() - aw);
        break;
    case Edge::Top:
        path.lineTo(c.x() + aw / 2, c.y() + ah);
        path.lineTo(c.x() + aw, c.y());
        break;
    case Edge::Left:
        path.lineTo(c.x() - ah, c.y() + aw / 2);
        path.lineTo(c.x(), c.y() + aw);
        break;
    case Edge::Bottom:
        path.lineTo(c.x() - aw / 2, c.y() - ah);
        path.lineTo(c.x() - aw, c.y());
        break;
    case Edge::None:
        break;
    }
}

// A quarter circle about `centre` from `from` to `to` degrees, counted counter-clockwise in
// y-up space (QPainterPath counts its angles the other way round in these coordinates).
void quarter(QPainterPath& path, const QPointF& centre, qreal r, qreal from, qreal to)
{
    path.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), -from, -(to - from));
}
} // namespace

QPainterPath framePathForContentRect(const Metrics& m, const QRectF& content)
{
    const QRectF R = grow(grow(content, m.viewMargin), m.borderWidth / 2);
    const qreal r = m.cornerRadius, aw = m.arrowWidth;
    const qreal minX = R.left(), maxX = R.right(), minY = R.top(), maxY = R.bottom();
    const qreal midX = R.center().x(), midY = R.center().y();
    const int p = m.position;
    const auto rounded
        = [&](int a, int b) { return r > 0 && (m.drawRoundCornerBesideArrow || (p != a && p != b)); };
    const bool topLeft = rounded(11, 7), topRight = rounded(10, 5), bottomRight = rounded(8, 4),
               bottomLeft = rounded(9, 6);

    QPainterPath path;
    path.moveTo(topLeft ? minX + r : minX, maxY);

    const qreal topEnd = topRight ? maxX - r : maxX;
    if (p == 11) {
        appendArrow(m, path);
    } else if (p == 1) {
        path.lineTo(midX - aw / 2, maxY);
        appendArrow(m, path);
    } else if (p == 10) {
        path.lineTo(topEnd - aw, maxY);
        appendArrow(m, path);
    }
    path.lineTo(topEnd, maxY);
    if (topRight)
        quarter(path, { maxX - r, maxY - r }, r, 90, 0);

    const qreal rightEnd = bottomRight ? minY + r : minY;
    if (p == 5) {
        appendArrow(m, path);
    } else if (p == 0) {
        path.lineTo(maxX, midY + aw / 2);
        appendArrow(m, path);
    } else if (p == 4) {
        path.lineTo(maxX, rightEnd + aw);
        appendArrow(m, path);
    }
    path.lineTo(maxX, rightEnd);
    if (bottomRight)
        quarter(path, { maxX - r, minY + r }, r, 0, -90);

    const qreal bottomEnd = bottomLeft ? minX + r : minX;
    if (p == 8) {
        appendArrow(m, path);
    } else if (p == 3) {
        path.lineTo(midX + aw / 2, minY);
        appendArrow(m, path);
    } else if (p == 9) {
        path.lineTo(bottomEnd + aw, minY);
        appendArrow(m, path);
    }
    path.lineTo(bottomEnd, minY);
    if (bottomLeft)
        quarter(path, { minX + r, minY + r }, r, -90, -180);

    const qreal leftEnd = topLeft ? maxY - r : maxY;
    if (p == 6) {
        appendArrow(m, path);
    } else if (p == 2) {
        path.lineTo(minX, midY - aw / 2);
        appendArrow(m, path);
    } else if (p == 7) {
        path.lineTo(minX, leftEnd - aw);
        appendArrow(m, path);
    }
    path.lineTo(minX, leftEnd);
    if (topLeft)
        quarter(path, { minX + r, maxY - r }, r, 180, 90);
    path.closeSubpath();
    return path;
}

QRectF frameForNewPosition(const Metrics& m, const QRectF& frame, int newPosition)
{
    const QPointF oldAttachment = attachmentPointForRect(m, frame);
    QSizeF size = frame.size();
    const auto adjust = [&](Edge edge, qreal d) {
        if (edge == Edge::Right || edge == Edge::Left)
            size.setWidth(size.width() + d);
        else if (edge == Edge::Top || edge == Edge::Bottom)
            size.setHeight(size.height() + d);
    };
    adjust(edgeOf(m.position), -m.arrowRoom());
    Metrics next = m;
    next.position = newPosition;
    adjust(edgeOf(newPosition), next.arrowRoom());
    const QPointF newAttachment = attachmentPointForRect(next, QRectF(QPointF(0, 0), size));
    return QRectF(frame.topLeft() + (oldAttachment - frame.topLeft()) - newAttachment, size);
}

int bestPosition(const Metrics& m, const QSizeF& windowSize, const QPointF& point, const QRectF& S,
    const std::optional<QRectF>& parentFrame)
{
    const qreal px = point.x(), py = point.y();
    const qreal W = windowSize.width() + 2 * m.viewMargin;
    const qreal H = windowSize.height() + 2 * m.viewMargin;
    const qreal E = m.arrowRoom();
    int position = 1;
    if (S.top() <= py - H - E)
        position = 1;
    else if (px + W + E < S.right())
        position = 2;
    else if (S.left() <= px - W - E)
        position = 0;
    else if (S.bottom() > py + H + E)
        position = 3;

    const QRectF V = parentFrame ? parentFrame->intersected(S) : S;
    const qreal h = m.arrowWidth / 2 + (m.drawRoundCornerBesideArrow ? m.cornerRadius : 0);
    if (position == 1 || position == 3) {
        if (V.left() > px - W / 2) {
            if (S.right() > px + W - h)
                position = position == 1 ? 11 : 9;
        } else if (px + W / 2 >= V.right() && px - W + h >= S.left()) {
            position = position == 1 ? 10 : 8;
        }
    } else {
        if (V.top() > py - H / 2) {
            if (S.bottom() > py + H - h)
                position = position == 2 ? 6 : 4;
        } else if (py + H / 2 >= V.bottom() && py - H + h >= S.top()) {
            position = position == 2 ? 7 : 5;
        }
    }
    return position;
}

} // namespace APPopoverGeometry
