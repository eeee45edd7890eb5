#include "uikit/controls/tokens/TKTokenAttachmentCell.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <cmath>

QColor TKTokenAttachmentCell::tokenTitleColorForDrawingMode(DrawingMode mode)
{
    const QPalette palette = QGuiApplication::palette();
    return mode == DrawingMode::Selected ? palette.color(QPalette::HighlightedText)
                                         : palette.color(QPalette::Text);
}

QSizeF TKTokenAttachmentCell::cellSize() const
{
    const QFontMetricsF metrics(m_textFont.value_or(QGuiApplication::font()));
    return cellSizeForTitleSize(QSizeF(metrics.horizontalAdvance(m_stringValue), metrics.height()));
}

QSizeF TKTokenAttachmentCell::cellSizeForTitleSize(QSizeF titleSize)
{
    const qreal w = titleSize.width();
    const qreal h = titleSize.height();
    // Whole points for both parts, so that the title still fits once the height is
    // rounded up and the rounded ends take h/2 + 3 each.
    return QSizeF(std::ceil(w) + std::ceil(h) + 6, std::ceil(h));
}

QRectF TKTokenAttachmentCell::titleRectForBounds(const QRectF& frame)
{
    const qreal h = frame.height();
    const qreal w = std::max(frame.width(), h + 6);
    const qreal inset = h / 2 + 3;
    return QRectF(frame.x() + inset, frame.y(), std::max<qreal>(0, w - 2 * inset), h);
}

QPainterPath TKTokenAttachmentCell::tokenPathForBounds(const QRectF& frame, JoinStyleMask joinStyle)
{
    const qreal x = frame.x();
    const qreal y = frame.y();
    const qreal h = frame.height();
    const qreal w = std::max(frame.width(), h + 6);
    const qreal r = h / 2;
    const qreal innerLeft = x + r + 3;
    const qreal innerRight = x + w - r - 3;

    QPainterPath path;
    path.moveTo(innerLeft, y);
    if (joinStyle.testFlag(JoinStyle::Left)) {
        path.lineTo(x, y);
        path.lineTo(x, y + h);
        path.lineTo(innerLeft, y + h);
    } else {
        path.arcTo(QRectF(innerLeft - r, y, 2 * r, h), 90, 180); // top, round the left, bottom
    }
    path.lineTo(innerRight, y + h);
    if (joinStyle.testFlag(JoinStyle::Right)) {
        path.lineTo(x + w, y + h);
        path.lineTo(x + w, y);
        path.lineTo(innerRight, y);
    } else {
        path.arcTo(QRectF(innerRight - r, y, 2 * r, h), 270, 180); // bottom, round the right, top
    }
    path.lineTo(innerLeft, y);
    path.closeSubpath();
    return path;
}

TKTokenAttachmentCell::DrawingState TKTokenAttachmentCell::drawingStateFor(
    qsizetype characterIndex, const QList<Range>& selectedRanges, bool highlighted, bool keyWindow)
{
    DrawingState state;
    state.mode = highlighted && keyWindow ? DrawingMode::Highlighted : DrawingMode::Normal;
    for (const Range& range : selectedRanges) {
        if (range.location > characterIndex || characterIndex >= range.location + range.length)
            continue;
        if (keyWindow)
            state.mode = DrawingMode::Selected;
        if (range.location < characterIndex)
            state.join |= JoinStyle::Left;
        if (range.location + range.length > characterIndex + 1)
            state.join |= JoinStyle::Right;
    }
    return state;
}

void TKTokenAttachmentCell::drawWithFrame(QPainter& painter, const QRectF& frame, qsizetype characterIndex,
    const QList<Range>& selectedRanges, bool highlighted, bool keyWindow)
{
    const DrawingState state = drawingStateFor(characterIndex, selectedRanges, highlighted, keyWindow);
    m_drawingMode = state.mode;
    m_joinStyle = state.join;
    drawTokenWithFrame(painter, frame);
}

void TKTokenAttachmentCell::drawTokenWithFrame(QPainter& painter, const QRectF& frame) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = tokenPathForBounds(frame, m_joinStyle);
    painter.setClipPath(path);
    const QColor fill = tokenFillColorForDrawingMode(m_drawingMode);
    const QColor stroke = tokenStrokeColorForDrawingMode(m_drawingMode);
    if (fill.isValid())
        painter.fillPath(path, fill);
    if (stroke.isValid())
        painter.strokePath(path, QPen(stroke, 2)); // the clip keeps the inner point
    drawTitleWithFrame(painter, titleRectForBounds(frame));
    painter.restore();
}

void TKTokenAttachmentCell::drawTitleWithFrame(QPainter& painter, const QRectF& rect) const
{
    const QRectF shifted = rect.translated(0, -m_baselineOffset);
    painter.save();
    QString shown = m_stringValue;
    // The attributes stop at the first missing one: no font, nothing else either.
    if (m_textFont) {
        painter.setFont(*m_textFont);
        if (m_textColor.isValid()) {
            painter.setPen(m_textColor);
            shown = QFontMetricsF(*m_textFont).elidedText(m_stringValue, Qt::ElideRight, shifted.width());
        }
    }
    painter.drawText(shifted, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
    painter.restore();
}
