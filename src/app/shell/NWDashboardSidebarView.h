#pragma once

#include "uikit/controls/views/NWColoredView.h"

/// The dark sidebar: a near-black fill with a faint noise over it, unless a background
/// image is set, and along its right edge a one-point line in the named colour
/// "SidebarDivider" (drawn in the dark appearance only).
class NWDashboardSidebarView : public NWColoredView {
    Q_OBJECT
public:
    static constexpr int width = 72;

    explicit NWDashboardSidebarView(QWidget* parent = nullptr);

    double noiseAlpha() const { return m_noiseAlpha; }
    void setNoiseAlpha(double alpha) { m_noiseAlpha = alpha; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_noiseAlpha = 0.06;
};
