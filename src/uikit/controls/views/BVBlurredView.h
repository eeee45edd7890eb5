#pragma once

#include <QColor>
#include <QImage>
#include <QVariant>
#include <QWidget>

/// A panel that shows what lies behind it (its parent's background and the sibling
/// widgets below it) saturated, blurred and tinted with translucent white.
class BVBlurredView : public QWidget {
    Q_OBJECT
public:
    explicit BVBlurredView(QWidget* parent = nullptr);

    QColor tintColor() const { return m_tintColor; }
    /// An invalid colour keeps the previous tint.
    void setTintColor(const QColor& color);
    float saturationFactor() const { return m_saturationFactor; }
    /// Clamped to 0..100; NaN leaves the colours alone (1).
    void setSaturationFactor(float factor);
    float blurRadius() const { return m_blurRadius; }
    /// Clamped to 0..500 points; NaN means no blur.
    void setBlurRadius(float radius);
    /// Number forms of the two settings (anything that converts to a number).
    void setSaturationFactorNumber(const QVariant& number) { setSaturationFactor(number.toFloat()); }
    void setBlurRadiusNumber(const QVariant& number) { setBlurRadius(number.toFloat()); }

    /// Scales each pixel's distance from its luminance by `factor` (1 leaves it alone).
    static void saturate(QImage& image, float factor);
    /// A Gaussian blur with standard deviation `radius`, edges clamped. Works on
    /// ARGB32_Premultiplied images.
    static void gaussianBlur(QImage& image, float radius);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    /// What lies behind `area` (in the view's coordinates).
    QImage backdrop(const QRect& area);

    QColor m_tintColor;
    float m_saturationFactor = 2.0f;
    float m_blurRadius = 20.0f;
};
