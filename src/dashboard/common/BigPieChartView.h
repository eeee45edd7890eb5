#pragma once

#include "dashboard/common/NWColoredRotationView.h"

#include <QTimer>

/// The full-window pie page's base view. A rotate gesture where none of the pies' own rotation
/// views lies posts "PieRotation" (it is an `NWColoredRotationView`). It posts
/// "BigPieChartViewResized" (no object) on its first drawing, on every resize while the user
/// drags the window edge, and once more when the resizes have stopped for `settleMs`: Qt has no
/// live-resize state, so a burst of resize events stands for one. Main thread only.
class BigPieChartView : public NWColoredRotationView {
    Q_OBJECT
public:
    static constexpr int settleMs = 150;

    explicit BigPieChartView(QWidget* parent = nullptr);

    bool initialDraw() const { return m_initialDraw; }
    /// Whether a resize burst is under way (its final notification is still to come).
    bool inLiveResize() const { return m_settle.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void viewDidEndLiveResize();

    bool m_initialDraw = true;
    QTimer m_settle;
};
