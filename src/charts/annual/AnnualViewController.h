#pragma once

#include "charts/annual/AnnualChartData.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/PlotDataSource.h"
#include "charts/kit/ScatterPlot.h"
#include "model/values/NWAnnualLog.h"
#include "uikit/popover/PKPopoverController.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QToolButton;

namespace chart {
class GraphHostingView;
} // namespace chart

/// The annual chart screen: one bar per year from that year's year-end record, for the
/// newest "MaxAnnualYears" years, optionally followed by the projected bars of the trend
/// (picture fill, orange outline), with the goal as a dashed line. A click on a bar opens the
/// value popup at its tip. The numbers come from `AnnualChartData`. It observes
/// "dataReFetched", "AnnualNotificationChanged" and appearance changes for as long as it
/// lives. Main thread only.
class AnnualViewController : public QWidget, chart::PlotDataSource, chart::PlotDelegate {
    Q_OBJECT
public:
    explicit AnnualViewController(QWidget* parent = nullptr);
    ~AnnualViewController() override;

    /// Rebuilds the whole chart from the store and the settings (a new graph and plots).
    void updateChart();

    chart::GraphHostingView* hostView() const { return m_hostView; }
    chart::BarPlot* barPlotNW() const { return m_barPlotNW; }
    chart::ScatterPlot* goalPlot() const { return m_goalPlot; }
    QCheckBox* anualTrendCtl() const { return m_anualTrendCtl; }
    QComboBox* futurePeriodCtl() const { return m_futurePeriodCtl; }
    QComboBox* pastPeriodCtl() const { return m_pastPeriodCtl; }
    QLabel* periodsLabel() const { return m_periodsLabel; }
    QLabel* trendLabel2() const { return m_trendLabel2; }
    QLabel* trendLabel3() const { return m_trendLabel3; }
    QToolButton* printButton() const { return m_printButton; }
    QToolButton* copyButton() const { return m_copyButton; }
    PKPopoverController* pointAnnotationPopover() const { return m_pointAnnotationPopover; }

    const QList<NWAnnualLog>& dataArray() const { return m_dataArray; }
    const QList<NWAnnualLog>& visibleDataArray() const { return m_visibleDataArray; }
    int numberOfVisibleBars() const { return m_numberOfVisibleBars; }
    bool useTrendLine() const { return m_useTrendLine; }
    int trendLinePeriod() const { return m_trendLinePeriod; }
    int trendLinePeriodPre() const { return m_trendLinePeriodPre; }

private:
    void buildControls();
    void readTrendSettings();
    void showTrendControls(bool show);

    void loadYoYData();
    void configureBARGraph();
    void configureBARAxes();
    void configureBARPlots();
    void reloadAndRedraw();
    double reloadXAxes();
    void placeLabels();
    void placeYearLabels();
    void reloadYAxes(double top, double minNWValue);
    void setGoalInformation();
    int slotCount() const;

    void anualTrendChanged();
    void futurePeriodsChanged(int index);
    void pastPeriodsChanged(int index);
    void printChart();
    void copyChartToClipboard();
    void closeChartInfoView();

    int numberOfRecordsForPlot(chart::Plot* plot) override;
    std::optional<double> numberForPlot(chart::Plot* plot, chart::PlotField field, int recordIndex) override;
    std::optional<chart::Fill> barFillForBarPlot(chart::BarPlot* plot, int recordIndex) override;
    std::optional<chart::LineStyle> barLineStyleForBarPlot(chart::BarPlot* plot, int recordIndex) override;
    void barWasSelected(chart::BarPlot* plot, int recordIndex) override;

    int m_numberOfVisibleBars;
    double m_minNWValue = 0.0;
    int m_dataArrayStartIndex = 0;
    bool m_useTrendLine = false;
    int m_trendLinePeriod;
    int m_trendLinePeriodPre;
    int m_numberOfBarsDisplayed = 0;
    bool m_showNWGoal = false;
    double m_goalAmount = 0.0;
    QList<NWAnnualLog> m_dataArray;
    QList<NWAnnualLog> m_visibleDataArray;
    QStringList m_yearLabels;
    AnnualChartData::ValueAxis m_valueAxis;

    chart::GraphHostingView* m_hostView = nullptr;
    // Owned by the hosted graph; a rebuild replaces them.
    QPointer<chart::BarPlot> m_barPlotNW;
    QPointer<chart::ScatterPlot> m_goalPlot;
    QCheckBox* m_anualTrendCtl = nullptr;
    QLabel* m_periodsLabel = nullptr;
    QLabel* m_trendLabel2 = nullptr;
    QLabel* m_trendLabel3 = nullptr;
    QComboBox* m_futurePeriodCtl = nullptr;
    QComboBox* m_pastPeriodCtl = nullptr;
    QToolButton* m_printButton = nullptr;
    QToolButton* m_copyButton = nullptr;
    QPointer<PKPopoverController> m_pointAnnotationPopover;
};
