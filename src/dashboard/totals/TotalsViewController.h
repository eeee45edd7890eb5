#pragma once

#include "charts/kit/BarPlot.h"
#include "charts/kit/PieChart.h"
#include "charts/kit/PlotDataSource.h"
#include "dashboard/common/PieChartSettings.h"
#include "dashboard/common/PieColorSchemes.h"
#include "dashboard/common/PieDragRotation.h"
#include "dashboard/common/PieSlices.h"
#include "dashboard/totals/WelcomeView.h"
#include "dashboard/totals/YearEndBars.h"
#include "platform/NotificationCenter.h"
#include "uikit/overlay/POProgressOverlay.h"
#include "uikit/popover/PKPopoverController.h"

#include <QAbstractAnimation>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class APPopover;
class MessagePopover;
class MVX_NWLog;
class NWColoredRotationView;
class QToolButton;
class RedavidGraphHost;
class TotalsLineField;

namespace chart {
class GraphHostingView;
} // namespace chart

/// The dashboard's chart pane: the totals line of the newest record (with the distance to the
/// goal while the goal is shown), the pie of that record with the chart menu button, and the
/// bars of the last four year-ends; at the first start of a run, the welcome panel. The numbers
/// come from `TotalsLine`, `YearEndBars` and the shared pie model; this class draws them and
/// reacts to the store, the pie and goal settings and the appearance for as long as it lives.
/// Main thread only.
class TotalsViewController : public QWidget, chart::PlotDataSource, chart::PlotDelegate {
    Q_OBJECT
public:
    explicit TotalsViewController(QWidget* parent = nullptr);
    ~TotalsViewController() override;

    /// Reads the store again: pie, bars and totals line (as after "dataReFetched").
    void refreshView();
    /// The dashboard's split view resized its panes: the pie takes its new size.
    void resizedSplit();
    /// Rebuilds the totals line; the goal distance only with `withGoal`.
    void setNWTitleValues(bool withGoal);
    /// The goal the line measures against (the model's, else the stored one, else 0).
    double getNWGoalAmount() const;
    /// The welcome panel, when it has not been considered in this run and "ShowStartForm" allows.
    void showFirstStartForm();
    void closeWelcomeView();
    /// The chart menu button's popover content (the pie settings), made anew at each opening.
    void setMenuContentFactory(std::function<QWidget*()> factory)
    {
        m_menuContentFactory = std::move(factory);
    }
    void chartMenuHandler();
    void printPieChart();
    void printBarChart();
    void copyPieChart();
    void copyBarChart();

    // What the pane shows, for the shell and for tests.
    TotalsLineField* testText() const { return m_testText; }
    RedavidGraphHost* hostView() const { return m_hostView; }
    chart::GraphHostingView* hostViewB() const { return m_hostViewB; }
    chart::PieChart* pieChart() const { return m_pieChart; }
    QToolButton* menuButton() const { return m_menuButton; }
    APPopover* firstStartSFBPopover() const { return m_firstStartSFBPopover.get(); }
    WelcomeView* startupView() const { return m_startupView; }
    PKPopoverController* menuPopover() const { return m_menuPopover; }
    PKPopoverController* pointAnnotationPopover() const { return m_pointAnnotationPopover; }
    MessagePopover* messages() const { return m_messages.get(); }
    POProgressOverlay* savingOverlay() const { return m_savingOverlay; }
    const PieSlices::Pie& pie() const { return m_pie; }
    const QList<YearEndBars::YearEnd>& visibleDataArray() const { return m_visibleDataArray; }
    PieChartSettings::PieDisplayType pieChartType() const { return m_pieChartType; }
    bool hasNegativeNW() const { return m_hasNegativeNW; }
    bool welcomeScreenAlreadyShown() const { return m_welcomeScreenAlreadyShown; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildViews();
    void registerObservers();
    void goalSettingsChanged(const platform::Notification& notification);
    void saveGoal();

    // The pie (TotalsViewControllerPie.cpp).
    void configureGraph();
    void configureChart();
    void loadPieChartSettings();
    void pieChartSettingsChange();
    void colorSchemaSettingsChange();
    void darkModeChanged();
    void nwDataReFetchedHandler();
    void setColorDictionary();
    void reloadPie();
    void pieChartRotated(const platform::Notification& notification);
    void mouseHit(const platform::Notification& notification);
    void setPieRadius(double factor);
    void hostResized();
    /// Fits the pie and its labels to the host's size and the radius setting: sets the labels'
    /// size (reloading the pie when it changes) and returns the radius.
    double fitPieAndLabels();
    static chart::TextStyle pieLabelStyle(double size);
    /// The year-end bars' title, in the appearance now.
    static chart::TextStyle barTitleStyle();
    std::shared_ptr<MVX_NWLog> currentLogItem() const;

    // The bars (TotalsViewControllerBars.cpp).
    void configureBARGraph();
    void configureBARAxes();
    void configureBARPlots();
    void configureStackedBARPlots();
    void upateChart(bool negative);
    void loadYoYData();
    void reloadAndRedraw();
    double reloadXAxes();
    void reloadYAxes(double top, double minNWValue);
    /// The bars' x range for the plot area's width now, clear of the value labels.
    void fitBarSlots();
    /// The year and amount labels for the graph's size now, apart from each other, the amounts
    /// ending within `mostEnd` points of the plot area's left edge.
    void placeBarLabels(double mostEnd);
    void closeChartInfoView();
    /// The value popup of the bar or segment of `identifier` at `recordIndex`.
    void showBarPopup(int recordIndex, const QString& identifier, bool basesVary);
    int barType() const;

    int numberOfRecordsForPlot(chart::Plot* plot) override;
    std::optional<double> numberForPlot(chart::Plot* plot, chart::PlotField field, int recordIndex) override;
    std::optional<chart::DataLabel> dataLabelForPlot(chart::Plot* plot, int recordIndex) override;
    std::optional<chart::Fill> sliceFillForPieChart(chart::PieChart* plot, int recordIndex) override;
    double radialOffsetForPieChart(chart::PieChart* plot, int recordIndex) override;
    void sliceWasSelected(chart::PieChart* plot, int recordIndex) override;
    void barWasSelected(chart::BarPlot* plot, int recordIndex) override;

    bool m_hasNegativeNW = false;
    int m_numberOfVisibleBars = YearEndBars::visibleBars;
    double m_minNWValue = 0.0;
    YearEndBars::ValueAxis m_barValueAxis;
    // The stacks' values and amounts are drawn divided by this (YearEndBars::drawScale).
    double m_barScale = 1.0;
    PieChartSettings::PieDisplayType m_pieChartType = PieChartSettings::PieDisplayType::NetWorth;
    PieChartSettings::PieLabelType m_pieChartLabelStyle = PieChartSettings::PieLabelType::Amount;
    bool m_displayCategoryNameInLabel = true;
    PieDragRotation m_drag;
    double m_radiusFactor = 0.75;
    double m_pieLabelSize = 10;
    bool m_introStarted = false;
    QPointer<QAbstractAnimation> m_innerRadiusAnimation;
    bool m_welcomeScreenAlreadyShown = false;
    bool m_greenOrRedShadeColorScheme = true;
    PieColorSchemes::ColorDictionaries m_colorDictionaries;
    QStringList m_colorArray;
    PieSlices::Pie m_pie;
    QStringList m_widestPieLabels;
    QList<YearEndBars::YearEnd> m_visibleDataArray;

    TotalsLineField* m_testText = nullptr;
    NWColoredRotationView* m_totalsBaseView = nullptr;
    RedavidGraphHost* m_hostView = nullptr;
    chart::GraphHostingView* m_hostViewB = nullptr;
    QToolButton* m_menuButton = nullptr;
    QToolButton* m_printPieButton = nullptr;
    QToolButton* m_copyPieButton = nullptr;
    QToolButton* m_printBarButton = nullptr;
    QToolButton* m_copyBarButton = nullptr;
    // Owned by their graphs.
    QPointer<chart::PieChart> m_pieChart;
    QPointer<chart::BarPlot> m_barPlotNW;
    std::unique_ptr<APPopover> m_firstStartSFBPopover;
    QPointer<WelcomeView> m_startupView;
    QPointer<PKPopoverController> m_menuPopover;
    std::function<QWidget*()> m_menuContentFactory;
    QPointer<PKPopoverController> m_pointAnnotationPopover;
    QPointer<POProgressOverlay> m_savingOverlay;
    std::unique_ptr<MessagePopover> m_messages;
};
