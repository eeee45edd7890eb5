#pragma once

#include "platform/SaneGeometry.h"
#include "uikit/controls/rows/TableRowView.h"

/// The row most lists use: appearance-dependent hover glow and rounded stroked
/// selection, no separator line. Takes its colours once, when made.
class DVGenericTableRowView : public TableRowView {
    Q_OBJECT
public:
    explicit DVGenericTableRowView(QWidget* parent = nullptr);

    /// Puts the default colours and metrics back (for the current appearance).
    void setColors();

    QColor rowTrackingBgColor() const { return m_rowTrackingBgColor; }
    void setRowTrackingBgColor(const QColor& color) { m_rowTrackingBgColor = color; }
    QColor selectionStrokeColor() const { return m_selectionStrokeColor; }
    void setSelectionStrokeColor(const QColor& color) { m_selectionStrokeColor = color; }
    QColor selectionFillColor() const { return m_selectionFillColor; }
    void setSelectionFillColor(const QColor& color) { m_selectionFillColor = color; }
    float selectionBorderWidth() const { return m_selectionBorderWidth; }
    void setSelectionBorderWidth(float width) { m_selectionBorderWidth = float(platform::saneLength(width)); }
    float selectionBorderRadius() const { return m_selectionBorderRadius; }
    void setSelectionBorderRadius(float radius)
    {
        m_selectionBorderRadius = float(platform::saneLength(radius));
    }
    float selectionBorderAlpha() const { return m_selectionBorderAlpha; }
    void setSelectionBorderAlpha(float alpha)
    {
        m_selectionBorderAlpha = float(platform::saneValue(alpha, 0.0, 1.0));
    }

    /// The named row colours with their built-in values where the colour table has none.
    static QColor namedRowColor(const QString& name, bool dark);

protected:
    void drawBackgroundInRect(QPainter& painter, const QRect& dirty) override;
    void drawSelectionInRect(QPainter& painter, const QRect& dirty) override;
    void drawSeparatorInRect(QPainter& painter, const QRect& dirty) override;

private:
    QColor m_rowTrackingBgColor;
    QColor m_selectionStrokeColor;
    QColor m_selectionFillColor;
    float m_selectionBorderWidth = 2.0f;
    float m_selectionBorderRadius = 1.0f;
    float m_selectionBorderAlpha = 1.0f;
};
