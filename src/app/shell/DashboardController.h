#pragma once

#include <QPointer>
#include <QSplitter>
#include <QWidget>

class DashboardContentViewController;

/// The dashboard: the record list on the left, always 340 points wide, and the totals over
/// the history chart on the right, taking every change of width.
class DashboardController : public QWidget {
    Q_OBJECT
public:
    static constexpr int recordListWidth = 340;

    /// Takes ownership of the three views.
    DashboardController(
        QWidget* tableBaseView, QWidget* totalsView, QWidget* lineChartView, QWidget* parent = nullptr);

    QWidget* tableBaseViewController() const { return m_tableBaseViewController; }
    DashboardContentViewController* dashboardContentViewController() const
    {
        return m_dashboardContentViewController;
    }
    QSplitter* splitView() const { return m_splitView; }

private:
    QPointer<QWidget> m_tableBaseViewController;
    QPointer<DashboardContentViewController> m_dashboardContentViewController;
    QPointer<QSplitter> m_splitView;
};

/// The dashboard's right side: the totals pane (290 points high at first) over the history
/// chart, with a divider the user may move.
class DashboardContentViewController : public QWidget {
    Q_OBJECT
public:
    static constexpr int totalsHeight = 290;

    DashboardContentViewController(QWidget* totalsView, QWidget* lineChartView, QWidget* parent = nullptr);

    QSplitter* hSplitView() const { return m_hSplitView; }
    QWidget* totalsVC() const { return m_totalsVC; }
    QWidget* lineChartVC() const { return m_lineChartVC; }

Q_SIGNALS:
    /// The panes changed size: the totals refit their pie.
    void splitResized();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPointer<QSplitter> m_hSplitView;
    QPointer<QWidget> m_totalsVC;
    QPointer<QWidget> m_lineChartVC;
    bool m_dividerPlaced = false;
};
