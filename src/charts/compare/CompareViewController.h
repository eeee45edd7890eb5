#pragma once

#include "charts/compare/CompareStatistics.h"
#include "model/data/MVX_Model.h"
#include "uikit/controls/fields/FittingLabel.h"
#include "uikit/popover/PKPopoverController.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class MessagePopover;

class CategoryCompareModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTableView;
class RXRoundedBox;
class StatisticsChartView;

/// The comparison screen. Its first tab compares two months chosen in month and year lists
/// (each month's assets, liabilities and net worth, and the changes from the first to the
/// second) above eight bar charts of the user's net worth beside national statistics, which an
/// exchange rate converts; its second tab compares the categories of two months chosen in
/// pop-ups. The numbers come from `CompareFigures` and `CompareStatistics`. It observes
/// "dataReFetched" and appearance changes for as long as it lives. Main thread only.
class CompareViewController : public QWidget {
    Q_OBJECT
public:
    explicit CompareViewController(QWidget* parent = nullptr);
    ~CompareViewController() override;

    /// Fills the header for the two months and makes the detailed comparison follow them.
    void showComparisonOfMonth(int month1, int year1, int month2, int year2);
    /// Each time the screen is shown: the detailed comparison re-reads its pop-ups.
    void viewDidAppear();
    /// The net worth of the user's own bars (300,000 until the shell sets it).
    void setMyCurrentNW(double netWorth) { m_myCurrentNW = CompareStatistics::saneNetWorth(netWorth); }
    double myCurrentNW() const { return m_myCurrentNW; }
    /// Redraws the eight statistics charts with the current net worth and rate.
    void redrawCountryComparison();
    /// Reads the pop-ups, finds their records and refills the category tables and totals.
    void compareDateChangeMenuHandler();

    double exchangeRate() const { return m_exchangeRate; }
    int selectedMonth1() const { return m_selectedMonth_1; }
    int selectedYear1() const { return m_selectedYear_1; }
    int selectedMonth2() const { return m_selectedMonth_2; }
    int selectedYear2() const { return m_selectedYear_2; }
    const std::shared_ptr<MVX_NWLog>& compareLog1() const { return m_compareLog1; }
    const std::shared_ptr<MVX_NWLog>& compareLog2() const { return m_compareLog2; }

    QTabWidget* tabView() const { return m_tabView; }
    QListWidget* monthTableView1() const { return m_monthTableView_1; }
    QListWidget* yearTableView1() const { return m_yearTableView_1; }
    QListWidget* monthTableView2() const { return m_monthTableView_2; }
    QListWidget* yearTableView2() const { return m_yearTableView_2; }
    /// Header fields by their names: "a_1", "l_1", "nw_1", "a_2", "l_2", "nw_2", "ad_1", "ld_1",
    /// "nwd_1" (changes) and "ad_2", "ld_2", "nwd_2" (percentages).
    FittingLabel* headerField(const QString& name) const;
    QComboBox* logMonth1() const { return m_logMonth_1; }
    QComboBox* logYear1() const { return m_logYear_1; }
    QComboBox* logMonth2() const { return m_logMonth_2; }
    QComboBox* logYear2() const { return m_logYear_2; }
    QTableView* assetsTableView() const { return m_assetsTableView; }
    QTableView* liabilitiesTableView() const { return m_liabilitiesTableView; }
    CategoryCompareModel* assetsModel() const { return m_assetsModel; }
    CategoryCompareModel* liabilitiesModel() const { return m_liabilitiesModel; }
    /// Totals by their names: "assetsLog1Totals", "assetsLog2Totals", "assetsDiffTotals",
    /// "liabilityLog1Totals", "liability2Totals", "liabilityDiffTotals"; and the column titles
    /// "log1AssetLabel", "log2AssetLabel", "log1LiabilityLabel", "log2LiabilityLabel".
    FittingLabel* detailField(const QString& name) const;

    /// The eight charts in the order of `CompareStatistics::charts()`; null for another index.
    StatisticsChartView* chartView(int index) const
    {
        return index >= 0 && index < CompareStatistics::chartCount ? m_charts[std::size_t(index)] : nullptr;
    }
    /// The exchange-rate field of a pair of charts (country, age, percentile, education).
    QLineEdit* exchangeRateField(CompareStatistics::Group group) const;
    PKPopoverController* pointAnnotationPopover() const { return m_pointAnnotationPopover; }
    /// Why a typed exchange rate was refused; null until the first refusal.
    MessagePopover* messages() const { return m_messages; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void centreDateLists();
    QWidget* buildHeader();
    QWidget* buildStatistics();
    QWidget* buildDetails();
    QWidget* buildCategoryTable(bool assets);
    void setupDateMenus();
    void selectInitialMonths();
    void dateTableSelectionChanged();
    void recalculateAssetTotals();
    void recalculateLiabilityTotals();
    void exchangeRateChanged(QLineEdit* field);
    void showRateInFields();
    void darkModeChanged();
    void styleBoxes();
    void closeChartInfoView();
    void showBarValue(StatisticsChartView* chart, int slot, const QPointF& tipInChart);
    MVX_NWLogList records() const;

    int m_selectedMonth_1 = 0;
    int m_selectedMonth_2 = 0;
    int m_selectedYear_1 = 0;
    int m_selectedYear_2 = 0;
    double m_exchangeRate = 1.0;
    double m_myCurrentNW = 300000.0;
    std::shared_ptr<MVX_NWLog> m_compareLog1;
    std::shared_ptr<MVX_NWLog> m_compareLog2;
    int m_firstYear = 0; // of the year lists: the current year - 40
    bool m_listsCentred = false;

    QTabWidget* m_tabView = nullptr;
    RXRoundedBox* m_periodOneBox = nullptr;
    RXRoundedBox* m_periodTwoBox = nullptr;
    RXRoundedBox* m_horizontalLine = nullptr;
    QListWidget* m_monthTableView_1 = nullptr;
    QListWidget* m_yearTableView_1 = nullptr;
    QListWidget* m_monthTableView_2 = nullptr;
    QListWidget* m_yearTableView_2 = nullptr;
    QComboBox* m_logMonth_1 = nullptr;
    QComboBox* m_logYear_1 = nullptr;
    QComboBox* m_logMonth_2 = nullptr;
    QComboBox* m_logYear_2 = nullptr;
    QTableView* m_assetsTableView = nullptr;
    QTableView* m_liabilitiesTableView = nullptr;
    CategoryCompareModel* m_assetsModel = nullptr;
    CategoryCompareModel* m_liabilitiesModel = nullptr;
    std::array<StatisticsChartView*, CompareStatistics::chartCount> m_charts {};
    std::array<QLineEdit*, 4> m_rateFields {};
    QPointer<PKPopoverController> m_pointAnnotationPopover;
    MessagePopover* m_messages = nullptr; // a child
};
