#pragma once

#include "platform/SaneGeometry.h"
#include "uikit/controls/rows/TableRowView.h"

/// The row most lists use: appearance-dependent hover glow and rounded stroked
/// selection, no separator line. The colours not set by a caller follow the appearance of
/// the palette the row is shown with, also after a switch.
class DVGenericTableRowView : public TableRowView {
    Q_OBJECT
public:
    explicit DVGenericTableRowView(QWidget* parent = nullptr);

    /// Puts the default colours and metrics back (for the appearance the row is shown in).
    void setColors();

    QColor rowTrackingBgColor() const { return m_rowTrackingBgColor; }
    /// A colour set here stays through appearance switches, until `setColors`.
    void setRowTrackingBgColor(const QColor& color)
    {
        m_rowTrackingBgColor = color;
        m_customColors |= TrackingColor;
    }
    QColor selectionStrokeColor() const { return m_selectionStrokeColor; }
    void setSelectionStrokeColor(const QColor& color)
    {
        m_selectionStrokeColor = color;
        m_customColors |= StrokeColor;
    }
    QColor selectionFillColor() const { return m_selectionFillColor; }
    void setSelectionFillColor(const QColor& color)
    {
        m_selectionFillColor = color;
        m_customColors |= FillColor;
    }
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
    void changeEvent(QEvent* event) override;
    void drawBackgroundInRect(QPainter& painter, const QRect& dirty) override;
    void drawSelectionInRect(QPainter& painter, const QRect& dirty) override;
    void drawSeparatorInRect(QPainter& painter, const QRect& dirty) override;

private:
    enum CustomColor { TrackingColor = 1, StrokeColor = 2, FillColor = 4 };
    void applyDefaultColors();

    int m_customColors = 0;
    QColor m_rowTrackingBgColor;
    QColor m_selectionStrokeColor;
    QColor m_selectionFillColor;
    float m_selectionBorderWidth = 2.0f;
    float m_selectionBorderRadius = 1.0f;
    float m_selectionBorderAlpha = 1.0f;
};
