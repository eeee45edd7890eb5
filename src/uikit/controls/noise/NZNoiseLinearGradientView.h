#pragma once

#include "uikit/controls/noise/NZNoiseView.h"

#include <QLineF>
#include <QSizeF>

/// A two-colour linear gradient under the noise: from the alternate colour to the
/// background colour. Without an alternate colour it draws as a plain noise view.
class NZNoiseLinearGradientView : public NZNoiseView {
    Q_OBJECT
public:
    /// Directions by their stored numbers, named for where the alternate colour starts;
    /// a number past 3 draws as BottomToTop.
    enum class GradientDirection : quint64 {
        LeftToRight = 0,
        TopToBottom = 1,
        RightToLeft = 2,
        BottomToTop = 3,
    };

    explicit NZNoiseLinearGradientView(QWidget* parent = nullptr);

    QColor alternateBackgroundColor() const { return m_alternateBackgroundColor; }
    void setAlternateBackgroundColor(const QColor& color);
    /// Stores only; the next redraw uses it.
    GradientDirection gradientDirection() const { return m_gradientDirection; }
    void setGradientDirection(GradientDirection direction) { m_gradientDirection = direction; }

    /// Start (alternate colour) and end (background colour) of the gradient for a view
    /// of `size`, y-up.
    static QLineF gradientLine(GradientDirection direction, QSizeF size);

protected:
    void drawBackground(QPainter& painter) override;

private:
    QColor m_alternateBackgroundColor;
    GradientDirection m_gradientDirection = GradientDirection::BottomToTop;
};
