#include "reports/choice/ReportChoiceController.h"

#include "categories/filter/NWTagSelectionCellView.h"
#include "charts/history/menu/CategoryChoiceRows.h"
#include "model/store/NWData.h"
#include "platform/Clock.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "reports/ReportsNotifications.h"
#include "reports/settings/ReportChoiceSettings.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>

#include <optional>

using namespace Qt::Literals::StringLiterals;
namespace keys = ReportChoiceSettings;

namespace {

/// Selects the item whose number is `tag`; a number the menu does not hold keeps the selection.
void selectTag(QComboBox* box, int tag)
{
    if (const int index = box->findData(tag); index >= 0)
        box->setCurrentIndex(index);
}

int selectedTag(const QComboBox* box)
{
    return box->currentData().toInt();
}

/// The first day of the newest record's month; none without a dated record.
std::optional<QDate> newestRecordMonth()
{
    const auto& model = NWData::shared()->appData();
    std::optional<QDate> newest;
    if (!model || !model->nwLogArray())
        return newest;
    for (const auto& record : *model->nwLogArray()) {
        if (!record || !record->year() || !record->month())
            continue;
        const QDate month(*record->year(), *record->month(), 1);
        if (month.isValid() && (!newest || month > *newest))
            newest = month;
    }
    return newest;
}

} // namespace

void ReportChoiceController::setupDateMenus()
{
    const QLocale locale;
    QStringList months;
    for (int month = 1; month <= 12; ++month)
        months << locale.toString(QDate(2015, month, 1), u"MMM"_s);
    const auto fill = [&months](const DateControls& controls) {
        controls.month->clear();
        for (int month = 1; month <= 12; ++month)
            controls.month->addItem(months.at(month - 1), month);
        controls.year->clear();
        for (int year = keys::firstYear; year <= keys::lastYear; ++year)
            controls.year->addItem(QString::number(year), year);
    };
    fill(m_statement);
    for (const PeriodControls* period : { &m_assetsPeriod, &m_liabilitiesPeriod, &m_tagsPeriod }) {
        fill(period->from);
        fill(period->to);
    }
}

void ReportChoiceController::setFromToMenus()
{
    const QDate today = platform::Clock::today();
    // Only a month with a record prints: the statement offers the newest one, not today's.
    const QDate statementMonth = newestRecordMonth().value_or(today);
    selectTag(m_statement.month, statementMonth.month());
    selectTag(m_statement.year, statementMonth.year());
    for (const PeriodControls* period : { &m_assetsPeriod, &m_liabilitiesPeriod, &m_tagsPeriod }) {
        selectTag(period->from.month, today.month());
        selectTag(period->from.year, today.year());
        period->to.month->setCurrentIndex(0);
        selectTag(period->to.year, today.year() - 1);
    }
}

void ReportChoiceController::loadDefaults()
{
    const platform::UserDefaults& defaults = platform::UserDefaults::standard();
    if (defaults.contains(keys::nameFieldKey))
        m_nameField->setText(keys::nameField());
    m_includeName->setChecked(keys::includeName());
    m_nameField->setEnabled(m_includeName->isChecked());
    m_includeNWGoal->setChecked(keys::includeNWGoal());
}

int ReportChoiceController::indexOfSelectedAssetCategory() const
{
    return m_assetChoice->markedRow();
}

int ReportChoiceController::indexOfSelectedLiabilityCategory() const
{
    return m_liabilityChoice->markedRow();
}

const QString& ReportChoiceController::selectedAssetCategoryID() const
{
    return m_assetChoice->chosenID();
}

const QString& ReportChoiceController::selectedLiabilityCategoryID() const
{
    return m_liabilityChoice->chosenID();
}

TableRowView* ReportChoiceController::makeTagRow(int row)
{
    auto* rowView = new DVGenericTableRowView;
    const MVX_Tags* tag = row >= 0 && row < m_tags.size() ? m_tags.at(row).get() : nullptr;
    NWTagSelectionCellView::fillRow(*rowView, tag, tag && m_selectedTagIDs.contains(tag->ID()),
        [this, row](bool checked) { tagRowCheckHandler(row, checked); });
    return rowView;
}

void ReportChoiceController::assetCategoryPicked(int row)
{
    m_assetChoice->pick(row);
}

void ReportChoiceController::liabilityCategoryPicked(int row)
{
    m_liabilityChoice->pick(row);
}

void ReportChoiceController::tagRowCheckHandler(int row, bool checked)
{
    if (row < 0 || row >= m_tags.size() || !m_tags.at(row))
        return;
    const QString id = m_tags.at(row)->ID();
    if (checked) {
        if (!m_selectedTagIDs.contains(id))
            m_selectedTagIDs.append(id);
    } else {
        m_selectedTagIDs.removeAll(id);
    }
    keys::setTagIDs(m_selectedTagIDs);
}

void ReportChoiceController::selectedTabChanged(int index)
{
    m_reportType = index;
}

void ReportChoiceController::includeNameChanged()
{
    m_nameField->setEnabled(m_includeName->isChecked());
}

const ReportChoiceController::PeriodControls* ReportChoiceController::periodOfKind(int kind) const
{
    switch (static_cast<keys::ReportKind>(kind)) {
    case keys::ReportKind::Assets:
        return &m_assetsPeriod;
    case keys::ReportKind::Liabilities:
        return &m_liabilitiesPeriod;
    case keys::ReportKind::Tags:
        return &m_tagsPeriod;
    case keys::ReportKind::Statement:
        break;
    }
    return nullptr;
}

void ReportChoiceController::printAction()
{
    platform::UserDefaults& defaults = platform::UserDefaults::standard();
    defaults.setValue(keys::nameFieldKey, m_nameField->text());
    defaults.setValue(keys::includeNameKey, m_includeName->isChecked());
    defaults.setValue(keys::includeNWGoalKey, m_includeNWGoal->isChecked());
    defaults.setValue(keys::selectedMonthKey, selectedTag(m_statement.month));
    defaults.setValue(keys::selectedYearKey, selectedTag(m_statement.year));
    keys::Period period { { 1, 2015 }, { 1, 2015 } };
    if (const PeriodControls* controls = periodOfKind(m_reportType)) {
        period
            = keys::orderedPeriod({ { selectedTag(controls->from.month), selectedTag(controls->from.year) },
                { selectedTag(controls->to.month), selectedTag(controls->to.year) } });
    }
    keys::setPeriod(period);
    defaults.synchronize();
    const int kind = m_reportType;
    // The popover goes first: the print starts on a later turn, when it is gone.
    platform::NotificationCenter::defaultCenter().post(notifications::print, kind);
    window()->close();
}

void ReportChoiceController::cancelAction()
{
    window()->close();
}
