#pragma once

#include "uikit/window/TBWindowBackgroundView.h"

#include <QFont>
#include <QPen>

/// The classic window's title bar: rounded top corners, an accent line along the top,
/// the title, and the user's double-click setting.
class TBTitlebarView : public TBWindowBackgroundView {
    Q_OBJECT
public:
    explicit TBTitlebarView(QWidget* parent = nullptr);

    /// How the title is drawn: the window's font, colour and shadow, or the defaults.
    struct TitleAttributes {
        QFont font;
        QColor color;
        QColor shadowColor;
        QPointF shadowOffset; // Qt coordinates
        bool native = false; // no custom attribute was set
    };

    void drawBackgroundGradient(QPainter& painter, const QRectF& rect, platform::RectEdge edge) override;
    /// The top row of `rect` (Qt coordinates).
    static QRectF windowBorderAccentLineFrameForRect(const QRectF& rect);
    void drawWindowBorderAccentLineInRect(QPainter& painter, const QRectF& rect);
    TitleAttributes titleAttributes() const;
    /// The title's frame in this view's y-up space.
    QRectF titleFrame(const TitleAttributes& attributes) const;
    /// The clipping path of the bar: top corners rounded by 4 points.
    static QPainterPath clippingPath(const QRectF& rect);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool m_doubleClicked = false;
};
