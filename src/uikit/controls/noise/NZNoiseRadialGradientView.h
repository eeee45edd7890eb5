#pragma once

#include "uikit/controls/noise/NZNoiseView.h"

/// A two-colour radial gradient under the noise: the alternate colour at the centre,
/// the background colour at half the diagonal. Without an alternate colour it draws as
/// a plain noise view.
class NZNoiseRadialGradientView : public NZNoiseView {
    Q_OBJECT
public:
    explicit NZNoiseRadialGradientView(QWidget* parent = nullptr);

    QColor alternateBackgroundColor() const { return m_alternateBackgroundColor; }
    void setAlternateBackgroundColor(const QColor& color);

protected:
    void drawBackground(QPainter& painter) override;

private:
    QColor m_alternateBackgroundColor;
};
