#include "records/history/NWCategoryLogsController.h"

#include "records/history/CatLogCellView.h"
#include "records/history/CategoryChartValues.h"
#include "records/history/CategoryLogsModel.h"

#include "app/alerts/PopoverClosing.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "platform/UserDefaults.h"
#include "uikit/controls/rows/TableRowHost.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QEasingCurve>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kChartHeight = 110;

} // namespace

NWCategoryLogsController::NWCategoryLogsController(QWidget* parent) : QWidget(parent)
{
    m_categoryNameLbl = new QLabel(this);
    m_categoryNameLbl->setObjectName(u"categoryNameLbl"_s);
    m_categoryNameLbl->setTextFormat(Qt::PlainText);
    m_categoryNameLbl->setWordWrap(true);
    QFont nameFont = m_categoryNameLbl->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.15);
    m_categoryNameLbl->setFont(nameFont);

    m_hideZeroValue = new QCheckBox(platform::Strings::tr("Hide zero values"), this);
    m_hideZeroValue->setObjectName(u"hideZeroValue"_s);

    m_chart = new QChartView(this);
    m_chart->setObjectName(u"chart"_s);
    m_chart->setFrameShape(QFrame::NoFrame);
    m_chart->setFixedHeight(kChartHeight);

    m_sortedCategoryLogs = new CategoryLogsModel(this);
    m_tableView = new QListView(this);
    m_tableView->setObjectName(u"tableView"_s);
    m_tableView->setModel(m_sortedCategoryLogs);
    m_tableView->setUniformItemSizes(true);
    TableRowHost::prepareView(*m_tableView, QAbstractItemView::NoSelection);
    m_rowHost = new TableRowHost(m_tableView);
    m_rowHost->setRowFactory([](const QModelIndex& index) {
        auto* row = new CatLogCellView;
        row->logDate()->setText(index.data(CategoryLogsModel::MonthTextRole).toString());
        row->logAmount()->setFullText(index.data(CategoryLogsModel::AmountTextRole).toString());
        return row;
    });

    m_closeButton = new QPushButton(platform::Strings::tr("Close"), this);
    m_closeButton->setObjectName(u"closeButton"_s);
    m_closeButton->setAutoDefault(false);
    connect(m_closeButton, &QPushButton::clicked, this, &NWCategoryLogsController::closeButtonClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(8);
    layout->addWidget(m_categoryNameLbl);
    layout->addWidget(m_hideZeroValue);
    layout->addWidget(m_chart);
    layout->addWidget(m_tableView, 1);
    layout->addLayout(buttons);

    m_hideZeroValueCategoryLogHistory
        = platform::UserDefaults::standard().boolean(hideZeroValueCategoryLogHistoryKey, false);
    m_hideZeroValue->setChecked(m_hideZeroValueCategoryLogHistory);
    connect(m_hideZeroValue, &QCheckBox::toggled, this, &NWCategoryLogsController::hideZeroValueChanged);
    setupLineChart(0);
}

NWCategoryLogsController::~NWCategoryLogsController() = default;

void NWCategoryLogsController::setCategory(std::shared_ptr<MVX_Category> category, bool isAsset)
{
    m_viewCategory = std::move(category);
    m_showAssetCategory = isAsset;
    fillTheDataArray();
    setupLineChart(updateAnimationMs);
}

void NWCategoryLogsController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setupLineChart(appearAnimationMs);
}

void NWCategoryLogsController::hideZeroValueChanged(bool hide)
{
    m_hideZeroValueCategoryLogHistory = hide;
    platform::UserDefaults::standard().setValueAndSynchronize(hideZeroValueCategoryLogHistoryKey, hide);
    fillTheDataArray();
    setupLineChart(updateAnimationMs);
}

void NWCategoryLogsController::closeButtonClick()
{
    closeEnclosingPopover(this);
}

void NWCategoryLogsController::fillTheDataArray()
{
    if (!m_viewCategory) {
        m_categoryNameLbl->clear();
        m_sortedCategoryLogs->setLogs({});
        return;
    }
    m_categoryNameLbl->setText(m_viewCategory->categoryName());
    m_sortedCategoryLogs->setLogs(CategoryLogsModel::logsFor(
        *NWData::shared(), *m_viewCategory, m_showAssetCategory, m_hideZeroValueCategoryLogHistory));
}

void NWCategoryLogsController::setupLineChart(int animationMs)
{
    QChart* chart = m_chart->chart();
    // The values rise from the baseline as the series are put in, so the animation is set
    // up before the chart is filled.
    chart->setAnimationOptions(animationMs > 0 ? QChart::SeriesAnimations : QChart::NoAnimation);
    chart->setAnimationDuration(animationMs);
    chart->setAnimationEasingCurve(QEasingCurve::OutCubic);
    CategoryChartValues::setupChart(m_sortedCategoryLogs->logs(), m_chart, chartColor());
    applyChartBackground();
}

void NWCategoryLogsController::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyChartBackground();
}

void NWCategoryLogsController::applyChartBackground()
{
    QChart* chart = m_chart->chart();
    // The chart is drawn for white; in the dark appearance its background and the end of
    // its fill take the content background instead, also after a switch while it is shown.
    const QColor background
        = platform::namedColor(u"ContentBackground"_s, platform::isDarkPalette(palette()));
    chart->setBackgroundBrush(background);
    for (QAbstractSeries* series : chart->series()) {
        auto* area = qobject_cast<QAreaSeries*>(series);
        const QGradient* gradient = area ? area->brush().gradient() : nullptr;
        if (!gradient || gradient->type() != QGradient::LinearGradient || gradient->stops().isEmpty())
            continue;
        QLinearGradient fill(*static_cast<const QLinearGradient*>(gradient));
        QGradientStops stops = fill.stops();
        QColor end = background;
        end.setAlphaF(stops.last().second.alphaF());
        stops.last().second = end;
        fill.setStops(stops);
        area->setBrush(fill);
    }
}
