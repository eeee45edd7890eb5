// The settings popover's actions: each writes its key, then posts its notification.

#include "charts/history/menu/CategoryChoiceRows.h"
#include "charts/history/menu/LnChartMenuLogic.h"
#include "charts/history/menu/LnChartMenuViewController.h"
#include "uikit/controls/buttons/SegmentedControl.h"

#include "categories/CategoriesNotifications.h"
#include "charts/common/ChartNotifications.h"
#include "model/format/NWCurrencyFormatter.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>

using namespace Qt::Literals::StringLiterals;
using HistoryChartSettings::ChartType;
using HistoryChartSettings::GoalType;

namespace {

void post(const QString& name, const QVariant& object = {})
{
    platform::NotificationCenter::defaultCenter().post(name, object);
}

} // namespace

void LnChartMenuViewController::tabChanged(int index)
{
    bool ok = false;
    const int type = m_tabView->tabData(index).toString().toInt(&ok) - 1;
    if (!ok || type < 0 || type > static_cast<int>(ChartType::Tags))
        return;
    m_chartDisplayType = static_cast<ChartType>(type);
    updateFormUI();
    HistoryChartSettings::setChartType(m_chartDisplayType);
    post(notifications::lineChartSettingsChange);
}

void LnChartMenuViewController::displayValueChanged(int segment)
{
    m_displayChanges = segment != 0;
    updateFormUI();
    HistoryChartSettings::setDisplayChanges(m_displayChanges);
    post(notifications::lineChartSettingsChange);
}

void LnChartMenuViewController::displayCurrencyChanged(int segment)
{
    m_displayPercent = segment != 0;
    HistoryChartSettings::setDisplayPercent(m_displayPercent);
    post(notifications::lineChartSettingsChange);
}

void LnChartMenuViewController::stackedChartSelectionChange()
{
    HistoryChartSettings::setStackedChart(m_stackedChartCtl->isChecked());
    post(notifications::lineChartSettingsChange);
}

void LnChartMenuViewController::showGoalChanged()
{
    updateNWFieldVisibility();
    HistoryChartSettings::setShowGoal(m_nwGoal->isChecked());
    post(notifications::goalSettingsChange);
}

void LnChartMenuViewController::nwTypeGoalChanged(int segment)
{
    m_nwGoalType = segment == 1 ? GoalType::Fixed : GoalType::Suggested;
    updateFormUI();
    HistoryChartSettings::setGoalType(m_nwGoalType);
    // The goal of the chosen kind becomes the model's goal.
    if (m_nwGoalType == GoalType::Fixed)
        applyFixedGoal(true);
    else
        applyAge(true);
}

void LnChartMenuViewController::goalAmountChanged()
{
    applyFixedGoal(false);
}

void LnChartMenuViewController::nwAgeChanged()
{
    applyAge(false);
}

void LnChartMenuViewController::nwAnnualIncomeChanged()
{
    const auto income = LnChartMenu::readAmount(m_nwAnnualIncome->text());
    if (!income) {
        showGoalMessage(income.error());
        showIncomeField();
        return;
    }
    showGoalMessage({});
    HistoryChartSettings::setAnnualIncome(*income);
    showIncomeField();
    applySuggestedGoal();
}

void LnChartMenuViewController::applyFixedGoal(bool keepStoredOnRefusal)
{
    const auto amount = LnChartMenu::readAmount(m_nwGoalAmount->text());
    if (!amount) {
        showGoalMessage(amount.error());
        showAmountField();
        if (keepStoredOnRefusal)
            announceGoal(HistoryChartSettings::goalAmount());
        return;
    }
    showGoalMessage({});
    HistoryChartSettings::setGoalAmount(*amount);
    showAmountField();
    announceGoal(*amount);
}

void LnChartMenuViewController::applyAge(bool keepStoredOnRefusal)
{
    const auto age = LnChartMenu::readAge(m_nwAge->text());
    if (!age) {
        showGoalMessage(age.error());
        showAgeField();
        if (keepStoredOnRefusal)
            applySuggestedGoal();
        return;
    }
    showGoalMessage({});
    HistoryChartSettings::setAge(*age);
    showAgeField();
    applySuggestedGoal();
}

void LnChartMenuViewController::applySuggestedGoal()
{
    announceGoal(calculateSuggestedNW());
}

void LnChartMenuViewController::announceGoal(std::optional<double> goal)
{
    if (const auto& model = NWData::shared()->appData())
        model->setRidIrevuGoal(goal);
    post(notifications::goalSettingsChange, goal ? QVariant(*goal) : QVariant());
}

std::optional<double> LnChartMenuViewController::calculateSuggestedNW()
{
    const std::optional<double> suggested = LnChartMenu::calculateSuggestedNW(
        HistoryChartSettings::age(), HistoryChartSettings::annualIncome());
    m_nwSuggestedGoalLabel->setText(suggested
            ? NWCurrencyFormatter(0, NWCurrencyFormatter::parenthesesNegativeFormat())
                  .stringFromNumber(*suggested)
            : u"-"_s);
    // A goal that cannot be worked out is none, not the last one worked out.
    HistoryChartSettings::setSuggestedGoal(suggested);
    return suggested;
}

void LnChartMenuViewController::showPlotSymbolsChanged()
{
    HistoryChartSettings::setShowSymbols(m_showPlotSymbols->isChecked());
    post(notifications::plotSymbol);
}

void LnChartMenuViewController::showAreaChartChanged()
{
    HistoryChartSettings::setShowArea(m_showAreaChart->isChecked());
    post(notifications::areaChart);
}

void LnChartMenuViewController::lineWidthChanged(int segment)
{
    HistoryChartSettings::setLineWidthIndex(segment);
    post(notifications::lineWidth);
}

int LnChartMenuViewController::indexOfSelectedAssetCategory() const
{
    return m_assetChoice->markedRow();
}

int LnChartMenuViewController::indexOfSelectedLiabilityCategory() const
{
    return m_liabilityChoice->markedRow();
}

const QString& LnChartMenuViewController::selectedAssetCategoryID() const
{
    return m_assetChoice->chosenID();
}

const QString& LnChartMenuViewController::selectedLiabilityCategoryID() const
{
    return m_liabilityChoice->chosenID();
}

void LnChartMenuViewController::assetCategoryPicked(int row)
{
    m_assetChoice->pick(row);
}

void LnChartMenuViewController::liabilityCategoryPicked(int row)
{
    m_liabilityChoice->pick(row);
}

void LnChartMenuViewController::categoryChosen()
{
    post(notifications::lineChartSettingsChange);
}

void LnChartMenuViewController::tagRowCheckHandler(int row, bool checked)
{
    if (row < 0 || row >= m_tags.size() || !m_tags.at(row))
        return;
    NWData::shared()->setTagInFilter(m_tags.at(row)->ID(), checked);
    post(notifications::tagFilterChanged);
}

void LnChartMenuViewController::commitIfEdited(QLineEdit* field)
{
    if (!field->isModified())
        return;
    field->setModified(false);
    if (field == m_nwGoalAmount)
        goalAmountChanged();
    else if (field == m_nwAge)
        nwAgeChanged();
    else if (field == m_nwAnnualIncome)
        nwAnnualIncomeChanged();
}

void LnChartMenuViewController::hideEvent(QHideEvent* event)
{
    // Closing the popover is leaving the field too.
    for (QLineEdit* field : { m_nwGoalAmount, m_nwAge, m_nwAnnualIncome })
        commitIfEdited(field);
    QWidget::hideEvent(event);
}

void LnChartMenuViewController::showAmountField()
{
    const std::optional<double> amount = HistoryChartSettings::goalAmount();
    m_nwGoalAmount->setText(amount ? NWCurrencyFormatter().stringFromNumber(*amount) : QString());
}

void LnChartMenuViewController::showIncomeField()
{
    const std::optional<double> income = HistoryChartSettings::annualIncome();
    m_nwAnnualIncome->setText(income ? NWCurrencyFormatter(0, {}).stringFromNumber(*income) : QString());
}

void LnChartMenuViewController::showAgeField()
{
    const std::optional<int> age = HistoryChartSettings::age();
    m_nwAge->setText(age ? QString::number(*age) : QString());
}

void LnChartMenuViewController::showGoalMessage(const QString& text)
{
    m_goalMessageLabel->setText(text);
}
