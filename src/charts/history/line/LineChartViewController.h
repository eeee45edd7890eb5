#pragma once

#include "charts/history/series/HistoryAxes.h"
#include "charts/history/series/HistoryPlots.h"
#include "charts/history/series/HistorySeries.h"
#include "charts/kit/Axis.h"
#include "charts/kit/PlotDataSource.h"
#include "model/data/MVX_NWLog.h"
#include "uikit/popover/PKPopoverController.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QAbstractButton;
class QButtonGroup;
class QToolButton;

namespace chart {
class Graph;
class GraphHostingView;
class ScatterPlot;
} // namespace chart

/// The history line chart screen: the graph of net worth, assets and liabilities, one
/// category or the tagged categories over the months, with its date range, settings and tag
/// filter buttons, value popups and printing. Two instances live at once (the sidebar screen
/// and the dashboard's lower pane); each observes for itself, and only the one on screen
/// opens records. The numbers come from `historyseries`; this class draws and reacts.
/// Main thread only.
class LineChartViewController : public QWidget,
                                chart::PlotDataSource,
                                chart::PlotDelegate,
                                chart::PlotAreaDelegate,
                                chart::PlotSpaceDelegate {
    Q_OBJECT
public:
    explicit LineChartViewController(QWidget* parent = nullptr);
    ~LineChartViewController() override;

    /// Each time the screen is shown: the full reload the first time, afterwards the symbols
    /// and axes only.
    void refreshView();
    /// The full reload from the store.
    void updateChart();

    chart::GraphHostingView* hostView() const { return m_hostView; }
    int topMenuButtonConstraint() const { return m_topMenuButtonConstraint; }
    /// The menu buttons' top, kept within the drawable range.
    void setTopMenuButtonConstraint(int top);
    /// Makes the content of the settings popover at each opening; until it is set the
    /// settings button does nothing.
    void setMenuContentFactory(std::function<QWidget*()> factory)
    {
        m_menuContentFactory = std::move(factory);
    }

    /// Its printouts are offered under its title set into `pattern` ("%1"), so that a chart
    /// standing in another screen's pane is told apart from the one on its own screen.
    void setPrintNamePattern(const QString& pattern) { m_printNamePattern = pattern; }

    /// The date range 0..3 (all, five years, twelve months, year to date), as the control sets it.
    int timeScale() const { return m_timeScale; }
    void timeScaleChanged(int timeScale);

    /// Closes the value popup; with `reload` the graph redraws without the selected symbol.
    void closeChartInfoView(bool reload);
    /// The store's record of that month, or null.
    static std::shared_ptr<MVX_NWLog> getSelectedNWLogItemFromYear(int year, int month);
    /// Opens the record editor on the record (nothing without one); while an editor of this
    /// chart is open it is brought forward, keeping what was typed.
    void editTheNWLogRecord(const std::shared_ptr<MVX_NWLog>& record);
    /// Whether this instance is on screen, and so answers "NW_SHOW_DETAILS".
    bool isOnScreen() const;

    // What tests and benchmarks look at.
    const historyseries::HistorySeries& series() const { return m_series; }
    const historyseries::SeriesSettings& settings() const { return m_settings; }
    int selectedIndex() const { return m_selectedIndex; }
    PKPopoverController* pointAnnotationPopover() const { return m_pointAnnotationPopover; }
    PKPopoverController* editRecordPopover() const { return m_editRecordPopover; }
    PKPopoverController* menuPopover() const { return m_menuPopover; }
    QToolButton* menuButton() const { return m_menuButton; }
    QToolButton* tagMenuButton() const { return m_tagMenuBtn; }
    chart::ScatterPlot* scatterPlot(historyseries::PlotId plot) const;
    chart::Graph* graph() const { return m_graph; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Building (LineChartPlots.cpp).
    void buildControls();
    void layoutControls();
    void styleControls();
    void initPlot();
    void configureGraph();
    void configurePlots();
    void configureAxes();
    void styleAxes();
    /// The x labels for the plot area's width now, thinned so that they stand apart.
    QList<historyseries::AxisMark> xLabelMarks() const;
    void applyXWindow();
    /// Puts the value labels on as they fit the plot area's width now: amounts near the largest
    /// double run past it, so each keeps its start and is elided at the area's right edge.
    void fitValueLabels();
    void setSymbolSize();
    void applyVisibility(bool fadeIn, qreal fadeFrom);
    void switchNWPlotColorToTag(bool tag);
    void applyDataLineStyles(qreal width);
    void applyAreaFills();
    void redrawChartsAfterScaleChange(bool reload);
    chart::Plot* plot(historyseries::PlotId plot) const;

    // Data and settings.
    void loadChartTypeSettings();
    void getNWGoalAmount();
    void nwDataReFetchedHandler();
    void lineChartSettingsChanged();
    void rebuild(bool reload);
    void observe();
    void appearanceChanged();

    // Interaction.
    void showValuePopup(chart::Plot* plot, int recordIndex);
    void showNWDetails(const QVariant& object);
    void chartMenuHandler();
    void tagMenuButtonClick();
    void printChart();
    void copyChartToClipboard();

    // Chart layer callbacks.
    int numberOfRecordsForPlot(chart::Plot* plot) override;
    std::optional<double> numberForPlot(chart::Plot* plot, chart::PlotField field, int recordIndex) override;
    std::optional<chart::PlotSymbol> symbolForScatterPlot(chart::ScatterPlot* plot, int recordIndex) override;
    void plotSymbolWasSelected(chart::ScatterPlot* plot, int recordIndex) override;
    void barWasSelected(chart::BarPlot* plot, int recordIndex) override;
    void plotAreaWasSelected(chart::Graph* graph) override;
    QPointF willDisplaceBy(chart::PlotSpace* space, const QPointF& displacement) override;

    chart::GraphHostingView* m_hostView = nullptr;
    chart::Graph* m_graph = nullptr;
    QButtonGroup* m_timeScaleCtl = nullptr;
    QWidget* m_timeScaleBox = nullptr;
    QToolButton* m_menuButton = nullptr;
    QToolButton* m_tagMenuBtn = nullptr;
    QToolButton* m_printButton = nullptr;
    QToolButton* m_copyButton = nullptr;
    int m_topMenuButtonConstraint = 10;
    std::function<QWidget*()> m_menuContentFactory;
    QString m_printNamePattern = QStringLiteral("%1");

    historyseries::SeriesSettings m_settings;
    historyseries::HistorySeries m_series;
    bool m_wasRefetchCalled = false;
    bool m_showNWGoal = false;
    double m_goalAmount = 0.0;
    qreal m_lineWidth = 3.0;
    bool m_showPlotSymbols = true;
    bool m_showAreaChartSymbols = true;
    int m_timeScale = 0;
    double m_xStartLocation = 0.0;
    int m_selectedIndex = -1;
    QList<historyseries::AxisMark> m_xLabelMarks;
    QList<chart::AxisLabel> m_valueLabels; // with their whole texts

    QPointer<PKPopoverController> m_menuPopover;
    QPointer<PKPopoverController> m_pointAnnotationPopover;
    QPointer<PKPopoverController> m_editRecordPopover;
};
