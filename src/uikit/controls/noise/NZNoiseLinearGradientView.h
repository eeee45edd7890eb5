#pragma once

#include "uikit/controls/noise/NZNoiseView.h"

#include <QLineF>
#include <QSizeF>

/// A two-colour linear gradient under the noise: from the alternate colour to the
/// background colour. Without an alternate colour it draws as a plain noise view.
class NZNoiseLinearGradientView : public NZNoiseView {
    Q_OBJECT
public:
    explicit NZNoiseLinearGradientView(QWidget* parent = nullptr);

    QColor alternateBackgroundColor() const { return m_alternateBackgroundColor; }
    void setAlternateBackgroundColor(const QColor& color);
    /// 0 left to right, 1 top to bottom, 2 right to left, anything else bottom to top.
    /// Stores only; the next redraw uses it.
    quint64 gradientDirection() const { return m_gradientDirection; }
    void setGradientDirection(quint64 direction) { m_gradientDirection = direction; }

    /// Start (alternate colour) and end (background colour) of the gradient for a view
    /// of `size`, y-up.
    static QLineF gradientLine(quint64 direction, QSizeF size);

protected:
    void drawBackground(QPainter& painter) override;

private:
    QColor m_alternateBackgroundColor;
    quint64 m_gradientDirection = 3;
};
