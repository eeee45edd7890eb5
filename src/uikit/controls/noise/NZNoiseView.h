#pragma once

#include "uikit/controls/noise/NZNoise.h"

#include <QColor>
#include <QWidget>

/// A flat colour with the application's noise grain over it.
class NZNoiseView : public QWidget {
    Q_OBJECT
public:
    explicit NZNoiseView(QWidget* parent = nullptr);

    QColor backgroundColor() const { return m_backgroundColor; }
    /// Redraws when the colour differs from the current one.
    void setBackgroundColor(const QColor& color);
    qreal noiseOpacity() const { return m_noiseOpacity; }
    /// Clamped to 0..1; NaN is 0.
    void setNoiseOpacity(qreal opacity);
    NZNoise::BlendMode noiseBlendMode() const { return m_noiseBlendMode; }
    void setNoiseBlendMode(NZNoise::BlendMode mode);

protected:
    void paintEvent(QPaintEvent* event) override;
    /// Fills the background; the noise is drawn over whatever this paints.
    virtual void drawBackground(QPainter& painter);

private:
    QColor m_backgroundColor;
    qreal m_noiseOpacity = 0.1;
    NZNoise::BlendMode m_noiseBlendMode = NZNoise::BlendMode::Screen;
};
