#pragma once

#include "platform/RectEdge.h"

#include <QBrush>
#include <QPainterPath>
#include <QWidget>

class TBClassicWindow;

/// The common drawing of a classic window's bar: gradient, separator line and pattern
/// overlay, with the window's colours or the class defaults. Rectangles passed to the
/// drawing members are in the view's Qt coordinates; the rules inside are y-up.
class TBWindowBackgroundView : public QWidget {
    Q_OBJECT
public:
    explicit TBWindowBackgroundView(QWidget* parent = nullptr);

    /// The classic window the bar belongs to, or null.
    TBClassicWindow* classicWindow() const;

    void drawWindowBackgroundLayers(QPainter& painter, const QRectF& rect, platform::RectEdge edge,
        bool showsSeparator, const QPainterPath* clippingPath);
    virtual void drawBackgroundGradient(QPainter& painter, const QRectF& rect, platform::RectEdge edge);
    void drawSeparator(QPainter& painter, const QRectF& rect, platform::RectEdge edge);
    void drawWindowPatternOverlayColor(QPainter& painter, const QRectF& rect, platform::RectEdge edge);

    /// The 1-point separator of a bar `rect` (y-up): along the bottom of a top-edge bar,
    /// along the top of a bottom-edge bar.
    static QRectF baselineSeparatorFrame(const QRectF& rect, platform::RectEdge edge);
    /// The faint highlight line next to the separator, inside the bar.
    static QRectF separatorHighlightFrame(const QRectF& rect, platform::RectEdge edge);
    /// The overlay texture of older systems; made once.
    static QBrush windowPatternOverlayColor();
    /// The overlay belonged to platform versions 1138 to 1342 and never to textured windows.
    static bool drawsPatternOverlay(int platformVersion, bool textured, bool requested);
    /// The platform version the bars draw for: past every older branch.
    static int platformVersion();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
