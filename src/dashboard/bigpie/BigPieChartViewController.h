#pragma once

#include "charts/kit/PieChart.h"
#include "charts/kit/PlotDataSource.h"
#include "dashboard/common/PieChartSettings.h"
#include "dashboard/common/PieDragRotation.h"
#include "dashboard/common/PieSlices.h"
#include "model/data/MVX_NWLog.h"
#include "uikit/popover/PKPopoverController.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class BigPieChartView;
class QAbstractAnimation;
class QSlider;
class QToolButton;
class RedavidGraphHost;
class SegmentedControl;

namespace platform {
struct Notification;
}

/// The full-window pie screen: the newest record as three pies side by side, the net-worth
/// split, the asset categories and the liability categories (slices from `PieSlices`). A click
/// on a slice opens the value popup at the mouse; a press on a slice and a drag turn that pie;
/// a rotate gesture over a pie's rotation view turns that pie; the slider turns both category
/// pies. A label-type control ("PieLabelType2") chooses the category pies' labels, the menu
/// button opens the pie settings popover, and each pie can be printed or copied.
///
/// It observes "dataReFetched", "PieChartSettingsChange", "PieRotation_NW", "PieRotation_A",
/// "PieRotation_L", "BigPieChartViewResized", appearance changes, and "RedavidMouseHit" of its
/// own three hosts only, for as long as it lives. Main thread only.
class BigPieChartViewController : public QWidget, chart::PlotDataSource, chart::PlotDelegate {
    Q_OBJECT
public:
    enum class PieKind { NetWorth = 0, Assets = 1, Liabilities = 2 };

    explicit BigPieChartViewController(QWidget* parent = nullptr);
    ~BigPieChartViewController() override;

    /// Whether `kind` names one of the three pies; the accessors below answer null (an empty
    /// pie) for any other value, and print and copy do nothing.
    static constexpr bool isPieKind(PieKind kind) { return index(kind) < 3; }
    /// The title of the pie of `kind`, which also names its printout.
    static QString title(PieKind kind);
    RedavidGraphHost* hostView(PieKind kind) const
    {
        return isPieKind(kind) ? m_hosts[index(kind)] : nullptr;
    }
    chart::PieChart* pieChart(PieKind kind) const { return isPieKind(kind) ? m_pies[index(kind)] : nullptr; }
    SegmentedControl* amountDisplayMOdeCtl() const { return m_amountDisplayMOdeCtl; }
    QSlider* rotationSliderCtl() const { return m_rotationSliderCtl; }
    QToolButton* menuButton() const { return m_menuButton; }
    BigPieChartView* pageView() const { return m_pageView; }
    PKPopoverController* pointAnnotationPopover() const { return m_pointAnnotationPopover; }
    PKPopoverController* menuPopover() const { return m_menuPopover; }
    chart::PieChart* currentPlot() const { return m_currentPlot; }
    bool hasNegativeNW() const { return m_hasNegativeNW; }
    PieChartSettings::PieLabelType pieChartLabelStyle() const { return m_pieChartLabelStyle; }
    bool displayCategoryNameInLabel() const { return m_displayCategoryNameInLabel; }
    /// The slices the pie of `kind` shows now.
    const PieSlices::Pie& slices(PieKind kind) const;

    /// Takes the store's newest record and redraws the three pies.
    void nwDataReFetchedHandler();
    void upateChart(bool hasNegativeNW);
    void pieChartSettingsChange();
    /// Radius 0.375 of the shorter side of each pie's plot area, a ring with a hole of radius / 2.5.
    void viewHasResized();
    void categoryDisplayModeChanged();
    void rotationChanged(int degrees);
    void chartMenuHandler();
    void printChart(PieKind kind);
    void copyChartToClipboard(PieKind kind);

private:
    static constexpr std::size_t index(PieKind kind) { return static_cast<std::size_t>(kind); }
    PieKind kindOf(const chart::Plot* plot) const;

    void buildInterface();
    QWidget* buildPieColumn(PieKind kind, QWidget* rotationView);
    void configureGraph(PieKind kind);
    void configureChart(PieKind kind);
    void applyAppearance();
    void loadPieChartSettings();
    void refreshSlices();
    void reloadAndRedraw();
    void reload(PieKind kind);
    void pieChartRotated(PieKind kind, const platform::Notification& note);
    void turn(PieKind kind, double radians);
    void mouseHit(PieKind kind, const platform::Notification& note);

    int numberOfRecordsForPlot(chart::Plot* plot) override;
    std::optional<double> numberForPlot(chart::Plot* plot, chart::PlotField field, int recordIndex) override;
    std::optional<chart::DataLabel> dataLabelForPlot(chart::Plot* plot, int recordIndex) override;
    std::optional<chart::Fill> sliceFillForPieChart(chart::PieChart* plot, int recordIndex) override;
    double radialOffsetForPieChart(chart::PieChart* plot, int recordIndex) override;
    void sliceWasSelected(chart::PieChart* plot, int recordIndex) override;
    void sliceTouchDown(chart::PieChart* plot, int recordIndex) override;

    bool m_hasNegativeNW = false;
    PieChartSettings::PieLabelType m_pieChartLabelStyle = PieChartSettings::PieLabelType::Amount;
    bool m_displayCategoryNameInLabel = true;
    PieDragRotation m_drag;
    QPointer<chart::PieChart> m_currentPlot;
    std::shared_ptr<MVX_NWLog> m_currentLogItem;
    std::array<PieSlices::Pie, 3> m_slices;
    std::array<QStringList, 3> m_widestLabels;
    chart::TextStyle m_labelStyle;
    std::array<double, 3> m_labelSizes { 12.0, 12.0, 12.0 };

    BigPieChartView* m_pageView = nullptr;
    std::array<RedavidGraphHost*, 3> m_hosts {};
    std::array<QPointer<chart::PieChart>, 3> m_pies;
    QPointer<QAbstractAnimation> m_introTurn;
    SegmentedControl* m_amountDisplayMOdeCtl = nullptr;
    QSlider* m_rotationSliderCtl = nullptr;
    QToolButton* m_menuButton = nullptr;
    QPointer<PKPopoverController> m_pointAnnotationPopover;
    QPointer<PKPopoverController> m_menuPopover;
};
