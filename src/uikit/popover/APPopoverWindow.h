#pragma once

#include "uikit/popover/APPopoverGeometry.h"

#include <QPointer>
#include <QWidget>

class APPopoverWindowFrame;

/// The point popover's frameless tool window. Geometry setters keep the attachment point
/// where it is on the screen. Frames are given in y-up screen coordinates.
class APPopoverWindow : public QWidget {
    Q_OBJECT
public:
    APPopoverWindow();
    ~APPopoverWindow() override;

    APPopoverWindowFrame* popoverWindowFrame() const { return m_frame; }
    QWidget* contentView() const { return m_contentView; }
    /// Sizes the window around `view` and installs it; the previous view is detached.
    void setContentView(QWidget* view);
    void setContentSize(const QSizeF& size);

    QRectF frameYUp() const;
    void setFrameYUp(const QRectF& frame);
    /// The attachment point in y-up screen coordinates.
    QPointF attachmentPointOnScreen() const;

    APPopoverGeometry::Position popoverPosition() const;
    void setPopoverPosition(APPopoverGeometry::Position position);
    void setDistance(qreal distance);
    void setArrowHeight(qreal height);
    void setBorderWidth(qreal width);
    void setViewMargin(qreal margin);
    void setCornerRadius(qreal radius);
    void setDrawsArrow(bool draws);
    void setArrowWidth(qreal width);
    void setDrawRoundCornerBesideArrow(bool rounds);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void updateShape();
    // Which sides of the content a metric adds room on: the arrow side only, or every side.
    enum class Sides { ArrowSide, AllSides };
    void setSideValue(qreal APPopoverGeometry::Metrics::*field, qreal value, Sides sides);
    void placeContent();

    APPopoverWindowFrame* m_frame = nullptr;
    QPointer<QWidget> m_contentView;
};
