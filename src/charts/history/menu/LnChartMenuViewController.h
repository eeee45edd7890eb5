#pragma once

#include "charts/history/settings/HistoryChartSettings.h"
#include "model/data/MVX_Model.h"

#include <QString>
#include <QWidget>

#include <optional>

class CategoryChoiceRows;
class SegmentedControl;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QTabBar;
class RXRoundedBox;
class TableRowHost;
class TableRowView;

/// The history chart's settings popover: five chart types on tabs, the asset, liability and
/// tag lists, values or changes, amounts or percent, stacked bars, the goal line (a fixed
/// amount or one suggested from age and income), symbols, area and line width.
///
/// There is no Apply: each control writes its key through `HistoryChartSettings` (which
/// synchronises), sets the model's goal where it is a goal control, and only then posts its
/// notification. A text field commits on Return and on leaving it; text that is no number is
/// refused and the field shows its stored value again. Made anew for every opening; its lists
/// are those of the store at that moment. Controls carry their outlet names as object names.
/// Main thread only.
class LnChartMenuViewController : public QWidget {
    Q_OBJECT
public:
    explicit LnChartMenuViewController(QWidget* parent = nullptr);
    ~LnChartMenuViewController() override;

    int chartDisplayType() const { return static_cast<int>(m_chartDisplayType); }
    int indexOfSelectedAssetCategory() const;
    int indexOfSelectedLiabilityCategory() const;
    const QString& selectedAssetCategoryID() const;
    const QString& selectedLiabilityCategoryID() const;

    // The controls' actions.
    void tabChanged(int index);
    void displayValueChanged(int segment);
    void displayCurrencyChanged(int segment);
    void stackedChartSelectionChange();
    void showGoalChanged();
    void nwTypeGoalChanged(int segment);
    void goalAmountChanged();
    void nwAgeChanged();
    void nwAnnualIncomeChanged();
    void showPlotSymbolsChanged();
    void showAreaChartChanged();
    void lineWidthChanged(int segment);
    void assetCategoryPicked(int row);
    void liabilityCategoryPicked(int row);
    void tagRowCheckHandler(int row, bool checked);

    /// Shows the suggested goal for the stored age and income, stores it under
    /// "nwGoalAgeAmount" (removes it when it cannot be worked out) and returns it.
    std::optional<double> calculateSuggestedNW();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    enum class Side { Assets, Liabilities };

    void loadSettings();
    void buildInterface();
    QWidget* buildTables();
    QWidget* buildDisplayGroup();
    QWidget* buildGoalGroup();
    QWidget* buildLineGroup();
    QListView* makeList(const QString& name);
    void loadValues();
    void updateFormUI();
    void updateNWFieldVisibility();
    void applyColors();
    void setTableState(Side side, std::optional<bool> enabled, qreal rowsOpacity);

    TableRowView* makeTagRow(int row);
    /// A category list's choice was stored: the chart follows.
    void categoryChosen();

    /// Commits a field whose text the user changed; the edit of a field not changed since it
    /// was filled commits nothing.
    void commitIfEdited(QLineEdit* field);
    void showAmountField();
    void showIncomeField();
    void showAgeField();
    void showGoalMessage(const QString& text);
    /// Sets the model's goal and announces it (none posts no object).
    void announceGoal(std::optional<double> goal);
    /// The fixed amount, resp. the suggested goal, becomes the model's goal; a refused text
    /// leaves the stored value in force when `keepStoredOnRefusal`, else changes nothing.
    void applyFixedGoal(bool keepStoredOnRefusal);
    void applyAge(bool keepStoredOnRefusal);
    void applySuggestedGoal();

    MVX_CategoryList m_assetCategories;
    MVX_CategoryList m_liabilityCategories;
    MVX_TagsList m_tags;

    HistoryChartSettings::ChartType m_chartDisplayType = HistoryChartSettings::ChartType::NetWorth;
    bool m_displayChanges = false;
    bool m_displayPercent = false;
    HistoryChartSettings::GoalType m_nwGoalType = HistoryChartSettings::GoalType::Suggested;

    RXRoundedBox* m_chartBox = nullptr;
    QTabBar* m_tabView = nullptr;
    QListView* m_assetsTableView = nullptr;
    QListView* m_liabilitiesTableView = nullptr;
    QListView* m_tagTableView = nullptr;
    CategoryChoiceRows* m_assetChoice = nullptr;
    CategoryChoiceRows* m_liabilityChoice = nullptr;
    TableRowHost* m_tagRows = nullptr;
    QLabel* m_assetLabel = nullptr;
    QLabel* m_liabilityLabel = nullptr;
    QLabel* m_tagLabel = nullptr;
    SegmentedControl* m_chartValueOrChangeCtl = nullptr;
    SegmentedControl* m_chartCurrencyOrPercentCtl = nullptr;
    SegmentedControl* m_lineWidth = nullptr;
    SegmentedControl* m_nwGoalTypeCtl = nullptr;
    QCheckBox* m_nwGoal = nullptr;
    QCheckBox* m_showPlotSymbols = nullptr;
    QCheckBox* m_showAreaChart = nullptr;
    QCheckBox* m_stackedChartCtl = nullptr;
    QLineEdit* m_nwGoalAmount = nullptr;
    QLineEdit* m_nwAge = nullptr;
    QLineEdit* m_nwAnnualIncome = nullptr;
    QLabel* m_goalValueLabel = nullptr;
    QLabel* m_annualIncomeLabel = nullptr;
    QLabel* m_ageTitleLabel = nullptr;
    QLabel* m_suggestedTitleLabel = nullptr;
    QLabel* m_nwSuggestedGoalLabel = nullptr;
    QLabel* m_goalMessageLabel = nullptr;
    QList<QLabel*> m_captions;
};
