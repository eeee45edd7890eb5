#pragma once

#include <QColor>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>

class PKPopoverController;
class QWidget;

/// How every chart screen shows the value popup of a clicked slice, bar or point: the
/// screen keeps at most one popover in `slot`; each show closes and forgets the previous
/// one and makes a new popover with a new `NSPLotPointAnnotationController`, filled just
/// before it appears. Main thread only.
class ValuePopup {
public:
    /// Amount line, caption "<caption> <year>" (callers without a year pass an empty one).
    struct Texts {
        QString amount;
        QString caption;
        QString year;
        QColor color;
    };
    /// Amount line, caption from the month (1-12) and year; the info button asks for it.
    struct MonthPoint {
        QString amount;
        int year = 0;
        int month = 0;
        QColor color;
    };

    /// Shows the popup just above the point `anchorYUp` (its arrow pointing down at it), given
    /// in `controllerView`'s y-up coordinates (origin bottom left). The popover is a child of
    /// `controllerView` and dies with it; the one returned is also left in `slot`. A null
    /// `controllerView` is refused (asserted in debug builds): null comes back and `slot` is
    /// left as it was.
    static PKPopoverController* show(QPointer<PKPopoverController>& slot, QWidget* controllerView,
        const QPointF& anchorYUp, const Texts& texts, bool showInfo);
    static PKPopoverController* show(QPointer<PKPopoverController>& slot, QWidget* controllerView,
        const QPointF& anchorYUp, const MonthPoint& point, bool showInfo);

    /// The 10 x 10 rectangle the popover points at, y-up: the anchor cut to whole numbers,
    /// moved by (-5, +5); an anchor beyond the drawable range is brought into it.
    static QRectF anchorRect(const QPointF& anchorYUp);
};
