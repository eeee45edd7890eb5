// The comparison screen's widgets: the header, the statistics charts and the detailed tab.
#include "charts/compare/CompareViewController.h"

#include "charts/compare/CategoryCompareModel.h"
#include "charts/compare/CompareSettings.h"
#include "charts/compare/StatisticsChartView.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/Clock.h"
#include "platform/NotificationCenter.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "uikit/controls/box/RXRoundedBox.h"
#include "uikit/controls/fields/FittingLabel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kAmountColumnWidth = 150;
constexpr int kMinimumAmountPixels = 10;
constexpr int kChartHeight = 320;

// An amount too wide for its column is set smaller, then elided at its end.
FittingLabel* field(QWidget* parent, const QString& name, bool bold = false)
{
    QFont font = parent->font();
    font.setBold(bold);
    auto* label = new FittingLabel(font, kMinimumAmountPixels, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(110);
    return label;
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QListWidget* dateList(QWidget* parent, const QString& name, const QStringList& items, int width)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->addItems(items);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setFixedWidth(width);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int row = 0; row < list->count(); ++row)
        list->item(row)->setTextAlignment(Qt::AlignCenter);
    return list;
}

} // namespace

CompareViewController::CompareViewController(QWidget* parent) : QWidget(parent)
{
    m_firstYear = platform::Clock::today().year() - 40;
    m_exchangeRate = CompareSettings::exchangeRate().value_or(1.0);

    auto* comparison = new QWidget;
    auto* comparisonLayout = new QVBoxLayout(comparison);
    comparisonLayout->setContentsMargins(12, 12, 12, 0);
    comparisonLayout->setSpacing(10);
    comparisonLayout->addWidget(buildHeader());
    comparisonLayout->addWidget(buildStatistics(), 1);

    m_tabView = new QTabWidget(this);
    m_tabView->setObjectName(u"tabView"_s);
    m_tabView->setDocumentMode(true);
    m_tabView->addTab(comparison, platform::Strings::tr("Comparison"));
    m_tabView->addTab(buildDetails(), platform::Strings::tr("Detailed comparison"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(m_tabView);

    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(this, notifications::dataReFetched, [this](auto&&...) {
        showComparisonOfMonth(m_selectedMonth_1, m_selectedYear_1, m_selectedMonth_2, m_selectedYear_2);
    });
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, [this](bool) { darkModeChanged(); });

    selectInitialMonths();
    styleBoxes();
    if (NWData::shared()->supportsForeignCurrencies())
        m_exchangeRate = NWData::shared()->getExchangeRateFor(u"USD"_s);
    showRateInFields();
    redrawCountryComparison();
    setupDateMenus();
    compareDateChangeMenuHandler();
}

CompareViewController::~CompareViewController() = default;

QWidget* CompareViewController::buildHeader()
{
    QStringList months;
    for (int month = 1; month <= 12; ++month)
        months.append(QLocale().standaloneMonthName(month, QLocale::ShortFormat));
    QStringList years;
    for (int row = 0; row < 80; ++row)
        years.append(QString::number(m_firstYear + row));

    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    const std::array<QString, 3> names { platform::Strings::tr("Assets"),
        platform::Strings::tr("Liabilities"), platform::Strings::tr("Net worth") };

    auto period = [&](int which) {
        auto* box = new RXRoundedBox(header);
        box->setObjectName(which == 1 ? u"periodOneBox"_s : u"periodTwoBox"_s);
        const QString suffix = which == 1 ? u"_1"_s : u"_2"_s;
        QListWidget* monthList = dateList(box, u"monthTableView"_s + suffix, months, 70);
        QListWidget* yearList = dateList(box, u"yearTableView"_s + suffix, years, 70);
        (which == 1 ? m_monthTableView_1 : m_monthTableView_2) = monthList;
        (which == 1 ? m_yearTableView_1 : m_yearTableView_2) = yearList;
        auto* grid = new QGridLayout;
        grid->setVerticalSpacing(6);
        const std::array<QString, 3> fields { u"a"_s + suffix, u"l"_s + suffix, u"nw"_s + suffix };
        // The figures stand on the lines of the changes, below the "Change" title.
        grid->setRowMinimumHeight(0, box->fontMetrics().height());
        for (int line = 0; line < 3; ++line) {
            grid->addWidget(caption(names[std::size_t(line)], box), line + 1, 0);
            grid->addWidget(field(box, fields[std::size_t(line)], line == 2), line + 1, 1);
        }
        grid->setRowStretch(4, 1);
        auto* boxLayout = new QHBoxLayout(box);
        boxLayout->setContentsMargins(8, 8, 12, 8);
        boxLayout->setSpacing(6);
        boxLayout->addWidget(monthList);
        boxLayout->addWidget(yearList);
        boxLayout->addSpacing(6);
        boxLayout->addLayout(grid, 1);
        connect(monthList, &QListWidget::itemSelectionChanged, this, [this] { dateTableSelectionChanged(); });
        connect(yearList, &QListWidget::itemSelectionChanged, this, [this] { dateTableSelectionChanged(); });
        return box;
    };

    m_periodOneBox = period(1);
    m_horizontalLine = new RXRoundedBox(header);
    m_horizontalLine->setObjectName(u"horizontalLine"_s);
    auto* changes = new QGridLayout(m_horizontalLine);
    changes->setContentsMargins(12, 8, 12, 8);
    changes->setVerticalSpacing(6);
    auto* changeTitle = caption(platform::Strings::tr("Change"), m_horizontalLine);
    QFont titleFont = changeTitle->font();
    titleFont.setBold(true);
    changeTitle->setFont(titleFont);
    changes->addWidget(changeTitle, 0, 0, 1, 3, Qt::AlignHCenter);
    const std::array<QString, 3> changeNames { u"ad"_s, u"ld"_s, u"nwd"_s };
    for (int line = 0; line < 3; ++line) {
        changes->addWidget(caption(names[std::size_t(line)], m_horizontalLine), line + 1, 0);
        changes->addWidget(
            field(m_horizontalLine, changeNames[std::size_t(line)] + u"_1"_s, line == 2), line + 1, 1);
        FittingLabel* percent = field(m_horizontalLine, changeNames[std::size_t(line)] + u"_2"_s, line == 2);
        percent->setMinimumWidth(80);
        changes->addWidget(percent, line + 1, 2);
    }
    changes->setRowStretch(4, 1);
    m_periodTwoBox = period(2);

    row->addWidget(m_periodOneBox, 3);
    row->addWidget(m_horizontalLine, 3);
    row->addWidget(m_periodTwoBox, 3);
    header->setFixedHeight(150);
    return header;
}

QWidget* CompareViewController::buildStatistics()
{
    auto* area = new QScrollArea;
    area->setObjectName(u"compareBaseView"_s);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(0, 0, 0, 12);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);

    const auto& charts = CompareStatistics::charts();
    const std::array<QString, 4> rateNames { u"exchangeRateCtl"_s, u"exchangeRateAgeCtl"_s,
        u"exchangeRatePercentileCtl"_s, u"exchangeEduCtl"_s };
    for (int pair = 0; pair < 4; ++pair) {
        auto* rateRow = new QHBoxLayout;
        rateRow->setContentsMargins(4, pair == 0 ? 0 : 8, 4, 0);
        rateRow->setSpacing(8);
        rateRow->addWidget(
            caption(platform::Strings::tr("Exchange rate (base currency units per US dollar):"), content));
        auto* rate = new QLineEdit(content);
        rate->setObjectName(rateNames[std::size_t(pair)]);
        rate->setFixedWidth(100);
        rate->setAlignment(Qt::AlignRight);
        m_rateFields[std::size_t(pair)] = rate;
        connect(rate, &QLineEdit::editingFinished, this, [this, rate] { exchangeRateChanged(rate); });
        rateRow->addWidget(rate);
        rateRow->addStretch(1);
        grid->addLayout(rateRow, pair * 2, 0, 1, 2);
        for (int side = 0; side < 2; ++side) {
            const int index = pair * 2 + side;
            auto* chart = new StatisticsChartView(charts[std::size_t(index)], content);
            chart->setMinimumHeight(kChartHeight);
            m_charts[std::size_t(index)] = chart;
            connect(chart, &StatisticsChartView::barSelected, this,
                [this, chart](int slot, QPointF tip) { showBarValue(chart, slot, tip); });
            grid->addWidget(chart, pair * 2 + 1, side);
        }
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    area->setWidget(content);
    return area;
}

QWidget* CompareViewController::buildDetails()
{
    auto* details = new QWidget;
    auto* layout = new QVBoxLayout(details);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);

    auto combo = [details](const QString& name) {
        auto* box = new QComboBox(details);
        box->setObjectName(name);
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        return box;
    };
    m_logMonth_1 = combo(u"logMonth_1"_s);
    m_logYear_1 = combo(u"logYear_1"_s);
    m_logMonth_2 = combo(u"logMonth_2"_s);
    m_logYear_2 = combo(u"logYear_2"_s);
    auto* choosers = new QHBoxLayout;
    choosers->addWidget(caption(platform::Strings::tr("Compare"), details));
    choosers->addWidget(m_logMonth_1);
    choosers->addWidget(m_logYear_1);
    choosers->addSpacing(8);
    choosers->addWidget(caption(platform::Strings::tr("with"), details));
    choosers->addWidget(m_logMonth_2);
    choosers->addWidget(m_logYear_2);
    choosers->addStretch(1);
    layout->addLayout(choosers);
    for (QComboBox* box : { m_logMonth_1, m_logYear_1, m_logMonth_2, m_logYear_2 })
        connect(box, &QComboBox::activated, this, [this](int) { compareDateChangeMenuHandler(); });

    layout->addWidget(buildCategoryTable(true), 3);
    layout->addWidget(buildCategoryTable(false), 2);
    return details;
}

QWidget* CompareViewController::buildCategoryTable(bool assets)
{
    auto* section = new QWidget;
    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    // The title and totals rows line up with the table's columns, whose scroll bar is always there.
    const int scrollBar = section->style()->pixelMetric(QStyle::PM_ScrollBarExtent);

    auto amountRow = [&](const QString& title, const std::array<QString, 3>& names, bool bold) {
        auto* row = new QHBoxLayout;
        row->setContentsMargins(4, 0, scrollBar + 4, 0);
        QLabel* name = caption(title, section);
        QFont font = name->font();
        font.setBold(bold);
        name->setFont(font);
        row->addWidget(name, 1);
        for (const QString& objectName : names) {
            FittingLabel* label = field(section, objectName, bold);
            label->setFixedWidth(kAmountColumnWidth);
            row->addWidget(label);
        }
        return row;
    };
    const QString kind = assets ? platform::Strings::tr("Assets") : platform::Strings::tr("Liabilities");
    layout->addLayout(assets
            ? amountRow(kind, { u"log1AssetLabel"_s, u"log2AssetLabel"_s, u"assetsDiffTitle"_s }, true)
            : amountRow(
                kind, { u"log1LiabilityLabel"_s, u"log2LiabilityLabel"_s, u"liabilityDiffTitle"_s }, true));
    section->findChild<FittingLabel*>(assets ? u"assetsDiffTitle"_s : u"liabilityDiffTitle"_s)
        ->setFullText(platform::Strings::tr("Difference"));

    auto* model = new CategoryCompareModel(assets, this);
    auto* table = new QTableView(section);
    table->setObjectName(assets ? u"assetsTableView"_s : u"liabilitiesTableView"_s);
    table->setModel(model);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setShowGrid(false);
    table->setAlternatingRowColors(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->verticalHeader()->setDefaultSectionSize(24);
    table->horizontalHeader()->setSectionResizeMode(CategoryCompareModel::NameColumn, QHeaderView::Stretch);
    for (int column = CategoryCompareModel::FirstColumn; column < CategoryCompareModel::ColumnCount;
         ++column) {
        table->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Fixed);
        table->setColumnWidth(column, kAmountColumnWidth + 6);
    }
    layout->addWidget(table, 1);
    (assets ? m_assetsTableView : m_liabilitiesTableView) = table;
    (assets ? m_assetsModel : m_liabilitiesModel) = model;

    layout->addLayout(assets
            ? amountRow(platform::Strings::tr("Total"),
                { u"assetsLog1Totals"_s, u"assetsLog2Totals"_s, u"assetsDiffTotals"_s }, true)
            : amountRow(platform::Strings::tr("Total"),
                { u"liabilityLog1Totals"_s, u"liability2Totals"_s, u"liabilityDiffTotals"_s }, true));
    return section;
}

FittingLabel* CompareViewController::headerField(const QString& name) const
{
    return findChild<FittingLabel*>(name);
}

FittingLabel* CompareViewController::detailField(const QString& name) const
{
    return findChild<FittingLabel*>(name);
}

QLineEdit* CompareViewController::exchangeRateField(CompareStatistics::Group group) const
{
    return m_rateFields.at(std::size_t(group));
}

void CompareViewController::styleBoxes()
{
    const QColor chartBox = [] {
        const QColor named = platform::namedColor(u"ChartBoxBg"_s);
        if (named.isValid())
            return named;
        return platform::isDarkAppearance() ? QColor::fromRgbF(0.2f, 0.33f, 0.42f, 0.35f)
                                            : QColor::fromRgbF(0.65f, 0.9f, 0.98f, 0.4f);
    }();
    for (RXRoundedBox* box : { m_horizontalLine, m_periodOneBox, m_periodTwoBox }) {
        box->setBorderWidth(0.5);
        box->setBorderRadius(5.0);
        box->setBorderColor(QColor::fromRgbF(0.4f, 0.4f, 0.4f, 0.2f));
        box->setTitleColor(Qt::white);
        box->setGradientStartColor(QColor::fromRgbF(0.95f, 0.95f, 0.95f, 0.1f));
        box->setGradientEndColor(QColor::fromRgbF(0.75f, 0.75f, 0.75f, 0.2f));
        box->setDrawsTitle(false);
        box->setDrawsFullTitleBar(false);
        box->setSelected(false);
        box->setDrawsGradientBackground(true);
        box->setNoiseOpacity(0);
    }
    m_horizontalLine->setBackgroundColor(Qt::white);
    for (RXRoundedBox* box : { m_periodOneBox, m_periodTwoBox })
        box->setBackgroundColor(chartBox);
}
