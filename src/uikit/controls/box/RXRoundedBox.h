#pragma once

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QWidget>

/// The framed group box of popovers and panels: a rounded rectangle with a stroked
/// border, a flat or vertical-gradient background, optional noise, and a title on a
/// coloured tab in the top-left corner (or on a bar across the top). Children are laid
/// out by the caller.
class RXRoundedBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qreal borderWidth READ borderWidth WRITE setBorderWidth)
    Q_PROPERTY(qreal borderRadius READ borderRadius WRITE setBorderRadius)
    Q_PROPERTY(QColor borderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(QColor titleColor READ titleColor WRITE setTitleColor)
    Q_PROPERTY(QColor gradientStartColor READ gradientStartColor WRITE setGradientStartColor)
    Q_PROPERTY(QColor gradientEndColor READ gradientEndColor WRITE setGradientEndColor)
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)
    Q_PROPERTY(bool drawsFullTitleBar READ drawsFullTitleBar WRITE setDrawsFullTitleBar)
    Q_PROPERTY(bool drawsTitle READ drawsTitle WRITE setDrawsTitle)
    Q_PROPERTY(bool selected READ isSelected WRITE setSelected)
    Q_PROPERTY(bool drawsGradientBackground READ drawsGradientBackground WRITE setDrawsGradientBackground)
    Q_PROPERTY(qreal noiseOpacity READ noiseOpacity WRITE setNoiseOpacity)
public:
    explicit RXRoundedBox(QWidget* parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString& title);

    // Lengths are clamped to 0..`platform::maximumGeometry` (NaN is 0), the noise opacity to 0..1.
    qreal borderWidth() const { return m_borderWidth; }
    void setBorderWidth(qreal width);
    qreal borderRadius() const { return m_borderRadius; }
    void setBorderRadius(qreal radius);
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);
    QColor titleColor() const { return m_titleColor; }
    void setTitleColor(const QColor& color);
    /// Gradient colours, bottom (start) to top (end); redraw only while the gradient shows.
    QColor gradientStartColor() const { return m_gradientStartColor; }
    void setGradientStartColor(const QColor& color);
    QColor gradientEndColor() const { return m_gradientEndColor; }
    void setGradientEndColor(const QColor& color);
    /// The flat fill; redraws only while no gradient is drawn.
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color);
    bool drawsFullTitleBar() const { return m_drawsFullTitleBar; }
    void setDrawsFullTitleBar(bool full);
    /// Stores only; takes effect at the next redraw.
    bool drawsTitle() const { return m_drawsTitle; }
    void setDrawsTitle(bool draws) { m_drawsTitle = draws; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    bool drawsGradientBackground() const { return m_drawsGradientBackground; }
    void setDrawsGradientBackground(bool draws);
    qreal noiseOpacity() const { return m_noiseOpacity; }
    void setNoiseOpacity(qreal opacity);
    /// The bounds (y-up) of the title tab drawn last; empty before any drawing.
    QRectF titlePathRect() const { return m_titlePathRect; }

    QFont titleFont() const { return m_titleFont; }

    /// The rounded box outline inside `r` (y-up).
    static QPainterPath boxPath(const QRectF& r, qreal radius);
    /// Where the title goes in bounds `b` for a title cell of `titleSize` (y-up).
    static QRectF titleRect(const QRectF& b, QSizeF titleSize, qreal borderWidth);
    /// The tab (or, when `fullTitleBar` or the title is nearly as wide as the box, the bar)
    /// behind the title, for the box rectangle `r`, radius and title rectangle `t` (y-up).
    static QPainterPath titlePath(const QRectF& r, float radius, const QRectF& t, bool fullTitleBar);
    QPainterPath titlePathWithinRect(const QRectF& r, float radius, const QRectF& t) const
    {
        return titlePath(r, radius, t, m_drawsFullTitleBar);
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSizeF titleCellSize(QSizeF bounds) const;

    QString m_title;
    QFont m_titleFont;
    qreal m_borderWidth = 2.0;
    qreal m_borderRadius = 4.0;
    QColor m_borderColor;
    QColor m_titleColor = Qt::white;
    QColor m_gradientStartColor = QColor::fromRgbF(0.92f, 0.92f, 0.92f);
    QColor m_gradientEndColor = QColor::fromRgbF(0.82f, 0.82f, 0.82f);
    QColor m_backgroundColor = QColor::fromRgbF(0.9f, 0.9f, 0.9f);
    bool m_drawsFullTitleBar = false;
    bool m_drawsTitle = true;
    bool m_selected = false;
    bool m_drawsGradientBackground = false;
    qreal m_noiseOpacity = 0.0;
    QRectF m_titlePathRect;
};
