#pragma once

#include "uikit/SaneFont.h"
#include <QColor>
#include <QFlags>
#include <QFont>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

/// Draws one token capsule: rounded ends (square where a selection joins it to its
/// neighbour), fill, a one-point outline and the title, cut at the tail.
class TKTokenAttachmentCell {
public:
    enum class DrawingMode : quint64 { Normal = 0, Highlighted = 1, Selected = 2 };
    /// The ends squared off because the selection joins the token to its neighbour there.
    enum class JoinStyle : unsigned { Left = 1, Right = 2 };
    Q_DECLARE_FLAGS(JoinStyleMask, JoinStyle)

    /// A selected character range (location, length).
    struct Range {
        qsizetype location = 0;
        qsizetype length = 0;
    };
    struct DrawingState {
        DrawingMode mode = DrawingMode::Normal;
        JoinStyleMask join;
    };

    QString stringValue() const { return m_stringValue; }
    void setStringValue(const QString& value) { m_stringValue = value; }
    float baselineOffset() const { return m_baselineOffset; }
    void setBaselineOffset(float offset) { m_baselineOffset = offset; }
    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor& color) { m_fillColor = color; }
    QColor strokeColor() const { return m_strokeColor; }
    void setStrokeColor(const QColor& color) { m_strokeColor = color; }
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor& color) { m_textColor = color; }
    std::optional<QFont> textFont() const { return m_textFont; }
    void setTextFont(const std::optional<QFont>& font) { m_textFont = SaneFont::sane(font); }

    /// The mode and join style of the last draw.
    DrawingMode tokenDrawingMode() const { return m_drawingMode; }
    JoinStyleMask tokenJoinStyle() const { return m_joinStyle; }
    QColor tokenFillColorForDrawingMode(DrawingMode) const { return m_fillColor; }
    QColor tokenStrokeColorForDrawingMode(DrawingMode) const { return m_strokeColor; }
    /// The palette's text colour when normal or highlighted, its highlighted text colour when
    /// selected (the title itself is drawn in textColor).
    static QColor tokenTitleColorForDrawingMode(DrawingMode mode);

    /// The capsule's size for the title measured in textFont.
    QSizeF cellSize() const;
    /// (w + h + 6, h) rounded outwards to whole points.
    static QSizeF cellSizeForTitleSize(QSizeF titleSize);
    /// The capsule's straight middle: the frame (at least h + 6 wide) inset by h/2 + 3
    /// on the left and right.
    static QRectF titleRectForBounds(const QRectF& frame);
    /// The outline (line width 2) for a frame and join style, y-down.
    static QPainterPath tokenPathForBounds(const QRectF& frame, JoinStyleMask joinStyle);
    /// Mode and join style for the token at `characterIndex`: Highlighted when highlighted in
    /// the key window; every selected range holding the index makes it Selected (key
    /// window only) and squares the ends where the range continues.
    static DrawingState drawingStateFor(
        qsizetype characterIndex, const QList<Range>& selectedRanges, bool highlighted, bool keyWindow);

    void drawWithFrame(QPainter& painter, const QRectF& frame, qsizetype characterIndex,
        const QList<Range>& selectedRanges, bool highlighted, bool keyWindow);
    void drawTokenWithFrame(QPainter& painter, const QRectF& frame) const;
    void drawTitleWithFrame(QPainter& painter, const QRectF& rect) const;

private:
    QString m_stringValue;
    DrawingMode m_drawingMode = DrawingMode::Normal;
    JoinStyleMask m_joinStyle;
    float m_baselineOffset = 0;
    QColor m_fillColor;
    QColor m_strokeColor;
    QColor m_textColor;
    std::optional<QFont> m_textFont;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TKTokenAttachmentCell::JoinStyleMask)
