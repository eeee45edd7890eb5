#include "uikit/popover/APPopoverGeometry.h"

namespace APPopoverGeometry {

Edge edgeOf(Position position)
{
    switch (position) {
    case Position::Right:
    case Position::RightBottom:
    case Position::RightTop:
        return Edge::Right;
    case Position::Top:
    case Position::TopRight:
    case Position::TopLeft:
        return Edge::Top;
    case Position::Left:
    case Position::LeftBottom:
    case Position::LeftTop:
        return Edge::Left;
    case Position::Bottom:
    case Position::BottomRight:
    case Position::BottomLeft:
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
    case Position::Right:
        return { maxX, midY };
    case Position::Top:
        return { midX, maxY };
    case Position::Left:
        return { minX, midY };
    case Position::Bottom:
        return { midX, minY };
    case Position::RightBottom:
        return { maxX, minY + k };
    case Position::RightTop:
        return { maxX, maxY - k };
    case Position::LeftBottom:
        return { minX, minY + k };
    case Position::LeftTop:
        return { minX, maxY - k };
    case Position::BottomRight:
        return { maxX - k, minY };
    case Position::BottomLeft:
        return { minX + k, minY };
    case Position::TopRight:
        return { maxX - k, maxY };
    case Position::TopLeft:
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
    const Position p = m.position;
    const auto rounded = [&](Position a, Position b) {
        return r > 0 && (m.drawRoundCornerBesideArrow || (p != a && p != b));
    };
    const bool topLeft = rounded(Position::TopLeft, Position::LeftTop),
               topRight = rounded(Position::TopRight, Position::RightTop),
               bottomRight = rounded(Position::BottomRight, Position::RightBottom),
               bottomLeft = rounded(Position::BottomLeft, Position::LeftBottom);

    QPainterPath path;
    path.moveTo(topLeft ? minX + r : minX, maxY);

    const qreal topEnd = topRight ? maxX - r : maxX;
    if (p == Position::TopLeft) {
        appendArrow(m, path);
    } else if (p == Position::Top) {
        path.lineTo(midX - aw / 2, maxY);
        appendArrow(m, path);
    } else if (p == Position::TopRight) {
        path.lineTo(topEnd - aw, maxY);
        appendArrow(m, path);
    }
    path.lineTo(topEnd, maxY);
    if (topRight)
        quarter(path, { maxX - r, maxY - r }, r, 90, 0);

    const qreal rightEnd = bottomRight ? minY + r : minY;
    if (p == Position::RightTop) {
        appendArrow(m, path);
    } else if (p == Position::Right) {
        path.lineTo(maxX, midY + aw / 2);
        appendArrow(m, path);
    } else if (p == Position::RightBottom) {
        path.lineTo(maxX, rightEnd + aw);
        appendArrow(m, path);
    }
    path.lineTo(maxX, rightEnd);
    if (bottomRight)
        quarter(path, { maxX - r, minY + r }, r, 0, -90);

    const qreal bottomEnd = bottomLeft ? minX + r : minX;
    if (p == Position::BottomRight) {
        appendArrow(m, path);
    } else if (p == Position::Bottom) {
        path.lineTo(midX + aw / 2, minY);
        appendArrow(m, path);
    } else if (p == Position::BottomLeft) {
        path.lineTo(bottomEnd + aw, minY);
        appendArrow(m, path);
    }
    path.lineTo(bottomEnd, minY);
    if (bottomLeft)
        quarter(path, { minX + r, minY + r }, r, -90, -180);

    const qreal leftEnd = topLeft ? maxY - r : maxY;
    if (p == Position::LeftBottom) {
        appendArrow(m, path);
    } else if (p == Position::Left) {
        path.lineTo(minX, midY - aw / 2);
        appendArrow(m, path);
    } else if (p == Position::LeftTop) {
        path.lineTo(minX, leftEnd - aw);
        appendArrow(m, path);
    }
    path.lineTo(minX, leftEnd);
    if (topLeft)
        quarter(path, { minX + r, maxY - r }, r, 180, 90);
    path.closeSubpath();
    return path;
}

QRectF frameForNewPosition(const Metrics& m, const QRectF& frame, Position newPosition)
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

Position bestPosition(const Metrics& m, const QSizeF& windowSize, const QPointF& point, const QRectF& S,
    const std::optional<QRectF>& parentFrame)
{
    const qreal px = point.x(), py = point.y();
    const qreal W = windowSize.width() + 2 * m.viewMargin;
    const qreal H = windowSize.height() + 2 * m.viewMargin;
    const qreal E = m.arrowRoom();
    Position position = Position::Top;
    if (S.top() <= py - H - E)
        position = Position::Top;
    else if (px + W + E < S.right())
        position = Position::Left;
    else if (S.left() <= px - W - E)
        position = Position::Right;
    else if (S.bottom() > py + H + E)
        position = Position::Bottom;

    const QRectF V = parentFrame ? parentFrame->intersected(S) : S;
    const qreal h = m.arrowWidth / 2 + (m.drawRoundCornerBesideArrow ? m.cornerRadius : 0);
    if (position == Position::Top || position == Position::Bottom) {
        if (V.left() > px - W / 2) {
            if (S.right() > px + W - h)
                position = position == Position::Top ? Position::TopLeft : Position::BottomLeft;
        } else if (px + W / 2 >= V.right() && px - W + h >= S.left()) {
            position = position == Position::Top ? Position::TopRight : Position::BottomRight;
        }
    } else {
        if (V.top() > py - H / 2) {
            if (S.bottom() > py + H - h)
                position = position == Position::Left ? Position::LeftBottom : Position::RightBottom;
        } else if (py + H / 2 >= V.bottom() && py - H + h >= S.top()) {
            position = position == Position::Left ? Position::LeftTop : Position::RightTop;
        }
    }
    return position;
}

} // namespace APPopoverGeometry
