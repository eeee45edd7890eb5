// The comparison screen's behaviour: the chosen months, the detailed comparison, the exchange
// rate and the statistics charts' redraws and value popup.
#include "app/alerts/MessagePopover.h"
#include "charts/common/ValuePopup.h"
#include "charts/compare/CategoryCompareModel.h"
#include "charts/compare/CompareFigures.h"
#include "charts/compare/CompareSettings.h"
#include "charts/compare/CompareViewController.h"
#include "charts/compare/StatisticsChartView.h"
#include "model/data/MVX_NWLog.h"
#include "model/format/NWCurrencyFormatter.h"
#include "model/store/NWData.h"
#include "platform/Clock.h"
#include "platform/Dispatch.h"
#include "platform/YUpGeometry.h"
#include "uikit/controls/fields/FittingLabel.h"

#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kFirstMenuYear = 1974;
constexpr int kLastMenuYear = 2054;
const QColor kBarTextColor = QColor::fromRgbF(0.28f, 0.66f, 0.99f, 1.0f);

void selectRow(QListWidget* list, int row)
{
    const QSignalBlocker blocker(list);
    list->setCurrentRow(row);
}

int selectedRow(const QListWidget* list)
{
    const auto rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void selectData(QComboBox* box, int value)
{
    const int index = box->findData(value);
    if (index >= 0)
        box->setCurrentIndex(index);
}

QString monthTitle(int year, int month)
{
    return QLocale().toString(QDate(year, month, 1), u"MMM"_s) + u' ' + QString::number(year);
}

} // namespace

MVX_NWLogList CompareViewController::records() const
{
    const auto& model = NWData::shared()->appData();
    return model && model->nwLogArray() ? *model->nwLogArray() : MVX_NWLogList();
}

void CompareViewController::selectInitialMonths()
{
    const QDate today = platform::Clock::today();
    const QDate previous = today.addMonths(-1);
    selectRow(m_yearTableView_1, previous.year() - m_firstYear);
    selectRow(m_monthTableView_1, previous.month() - 1);
    selectRow(m_yearTableView_2, today.year() - m_firstYear);
    selectRow(m_monthTableView_2, today.month() - 1);
    m_selectedMonth_2 = today.month();
    m_selectedMonth_1 = previous.month();
    m_selectedYear_2 = today.year();
    m_selectedYear_1 = previous.year();
    showComparisonOfMonth(previous.month(), previous.year(), today.month(), today.year());
}

void CompareViewController::centreDateLists()
{
    // The chosen rows stand in the middle, with the months and years around them in view.
    for (QListWidget* list :
        { m_monthTableView_1, m_monthTableView_2, m_yearTableView_1, m_yearTableView_2 }) {
        if (QListWidgetItem* chosen = list->currentItem())
            list->scrollToItem(chosen, QAbstractItemView::PositionAtCenter);
    }
}

void CompareViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_listsCentred)
        return;
    m_listsCentred = true;
    // Once the lists have their heights, which the layout gives them after this event.
    QMetaObject::invokeMethod(
        this, [this] { centreDateLists(); }, Qt::QueuedConnection);
}

void CompareViewController::dateTableSelectionChanged()
{
    const int currentYear = m_firstYear + 40;
    // A cleared selection reads as row -1: month 0 or the year before the first, never a record.
    m_selectedMonth_1 = selectedRow(m_monthTableView_1) + 1;
    m_selectedYear_1 = currentYear + selectedRow(m_yearTableView_1) - 40;
    m_selectedMonth_2 = selectedRow(m_monthTableView_2) + 1;
    m_selectedYear_2 = currentYear + selectedRow(m_yearTableView_2) - 40;
    showComparisonOfMonth(m_selectedMonth_1, m_selectedYear_1, m_selectedMonth_2, m_selectedYear_2);
}

void CompareViewController::showComparisonOfMonth(int month1, int year1, int month2, int year2)
{
    const MVX_NWLogList all = records();
    const auto first = CompareFigures::nwLogWithYear(all, year1, month1);
    const auto second = CompareFigures::nwLogWithYear(all, year2, month2);

    // Crosswise: the detailed comparison shows the second month minus the first, as here.
    if (month2 >= 1 && month2 <= m_logMonth_1->count())
        m_logMonth_1->setCurrentIndex(month2 - 1);
    if (month1 >= 1 && month1 <= m_logMonth_2->count())
        m_logMonth_2->setCurrentIndex(month1 - 1);
    selectData(m_logYear_1, year2);
    selectData(m_logYear_2, year1);
    compareDateChangeMenuHandler();

    const CompareFigures::Header texts = CompareFigures::header(first.get(), second.get());
    const std::pair<const char*, const QString*> fields[]
        = { { "a_1", &texts.assets1 }, { "l_1", &texts.liabilities1 }, { "nw_1", &texts.netWorth1 },
              { "a_2", &texts.assets2 }, { "l_2", &texts.liabilities2 }, { "nw_2", &texts.netWorth2 },
              { "ad_1", &texts.assetsChange }, { "ld_1", &texts.liabilitiesChange },
              { "nwd_1", &texts.netWorthChange }, { "ad_2", &texts.assetsPercent },
              { "ld_2", &texts.liabilitiesPercent }, { "nwd_2", &texts.netWorthPercent } };
    for (const auto& [name, text] : fields)
        headerField(QString::fromLatin1(name))->setFullText(*text);
}

void CompareViewController::setupDateMenus()
{
    for (QComboBox* box : { m_logMonth_1, m_logMonth_2 }) {
        const QSignalBlocker blocker(box);
        box->clear();
        for (int month = 1; month <= 12; ++month)
            box->addItem(QLocale().toString(QDate(2015, month, 1), u"MMM"_s), month);
    }
    for (QComboBox* box : { m_logYear_1, m_logYear_2 }) {
        const QSignalBlocker blocker(box);
        box->clear();
        for (int year = kFirstMenuYear; year <= kLastMenuYear; ++year)
            box->addItem(QString::number(year), year);
    }
    const QDate today = platform::Clock::today();
    m_logMonth_1->setCurrentIndex(today.month() - 1);
    m_logMonth_2->setCurrentIndex(0);
    selectData(m_logYear_1, today.year());
    selectData(m_logYear_2, today.year() - 1);
}

void CompareViewController::compareDateChangeMenuHandler()
{
    const int month1 = m_logMonth_1->currentData().toInt();
    const int year1 = m_logYear_1->currentData().toInt();
    const int month2 = m_logMonth_2->currentData().toInt();
    const int year2 = m_logYear_2->currentData().toInt();
    const MVX_NWLogList all = records();
    m_compareLog1 = CompareFigures::nwLogWithYear(all, year1, month1);
    m_compareLog2 = CompareFigures::nwLogWithYear(all, year2, month2);
    if (month1 >= 1 && month1 <= 12) {
        detailField(u"log1AssetLabel"_s)->setFullText(monthTitle(year1, month1));
        detailField(u"log1LiabilityLabel"_s)->setFullText(monthTitle(year1, month1));
    }
    if (month2 >= 1 && month2 <= 12) {
        detailField(u"log2AssetLabel"_s)->setFullText(monthTitle(year2, month2));
        detailField(u"log2LiabilityLabel"_s)->setFullText(monthTitle(year2, month2));
    }
    const auto& model = NWData::shared()->appData();
    const MVX_CategoryList assets = model && model->assetscat() ? *model->assetscat() : MVX_CategoryList();
    const MVX_CategoryList liabilities
        = model && model->liabilitycat() ? *model->liabilitycat() : MVX_CategoryList();
    m_assetsModel->setComparison(assets, m_compareLog1.get(), m_compareLog2.get());
    m_liabilitiesModel->setComparison(liabilities, m_compareLog1.get(), m_compareLog2.get());
    recalculateAssetTotals();
    recalculateLiabilityTotals();
}

void CompareViewController::recalculateAssetTotals()
{
    const auto totals = CompareFigures::totals(m_compareLog1.get(), m_compareLog2.get(), true);
    detailField(u"assetsLog1Totals"_s)->setFullText(totals.first);
    detailField(u"assetsLog2Totals"_s)->setFullText(totals.second);
    detailField(u"assetsDiffTotals"_s)->setFullText(totals.difference);
}

void CompareViewController::recalculateLiabilityTotals()
{
    const auto totals = CompareFigures::totals(m_compareLog1.get(), m_compareLog2.get(), false);
    detailField(u"liabilityLog1Totals"_s)->setFullText(totals.first);
    detailField(u"liability2Totals"_s)->setFullText(totals.second);
    detailField(u"liabilityDiffTotals"_s)->setFullText(totals.difference);
}

void CompareViewController::viewDidAppear()
{
    compareDateChangeMenuHandler();
}

void CompareViewController::showRateInFields()
{
    for (QLineEdit* field : m_rateFields)
        field->setText(CompareSettings::rateText(m_exchangeRate));
}

void CompareViewController::exchangeRateChanged(QLineEdit* field)
{
    // Leaving a field untouched is no edit.
    if (!field->isModified())
        return;
    const auto rate = CompareSettings::parseRate(field->text());
    if (!rate) {
        // A rate of 0, or one far beyond any currency's, would draw the statistics at nothing or
        // at meaningless heights: the field keeps the rate in use, and says why.
        field->setText(CompareSettings::rateText(m_exchangeRate));
        // On a later turn: when a click elsewhere ended the edit, the message would otherwise
        // count as open during that click and close with it.
        platform::runLater(this, [this, field = QPointer<QLineEdit>(field), message = rate.error()] {
            if (!field)
                return;
            if (!m_messages)
                m_messages = new MessagePopover(this);
            m_messages->showMessage(message, field);
        });
        return;
    }
    m_exchangeRate = *rate;
    CompareSettings::setExchangeRate(m_exchangeRate);
    showRateInFields();
    redrawCountryComparison();
}

void CompareViewController::redrawCountryComparison()
{
    for (StatisticsChartView* chart : m_charts)
        chart->redraw(m_myCurrentNW, m_exchangeRate);
}

void CompareViewController::darkModeChanged()
{
    styleBoxes();
    for (StatisticsChartView* chart : m_charts)
        chart->applyAppearance();
    redrawCountryComparison();
}

void CompareViewController::closeChartInfoView()
{
    if (m_pointAnnotationPopover)
        m_pointAnnotationPopover->close();
}

void CompareViewController::showBarValue(StatisticsChartView* chart, int slot, const QPointF& tipInChart)
{
    const auto value = chart->barValue(slot);
    if (!value)
        return;
    const QPointF anchorYUp = platform::toYUp(chart->mapTo(this, tipInChart), qreal(height()));
    const ValuePopup::Texts texts { NWCurrencyFormatter::currencyFormattedString(*value, false) + u' ',
        CompareStatistics::caption(chart->description().group, slot), QString(), kBarTextColor };
    ValuePopup::show(m_pointAnnotationPopover, this, anchorYUp, texts, false);
}
