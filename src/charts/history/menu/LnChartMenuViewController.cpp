#include "charts/history/menu/LnChartMenuViewController.h"

#include "charts/history/menu/CategoryChoiceRows.h"
#include "charts/history/menu/LnChartMenuLogic.h"
#include "charts/history/menu/LnChartSettCellView.h"
#include "uikit/controls/buttons/SegmentedControl.h"

#include "categories/filter/NWTagSelectionCellView.h"
#include "model/format/NWCurrencyFormatter.h"
#include "model/store/NWData.h"
#include "platform/Strings.h"
#include "platform/UserDefaults.h"
#include "uikit/controls/KitColors.h"
#include "uikit/controls/box/RXRoundedBox.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"
#include "uikit/controls/rows/FixedRowsModel.h"
#include "uikit/controls/rows/TableRowHost.h"
#include "uikit/extensions/NamedWidget.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTabBar>
#include <QVBoxLayout>

#include <utility>

using namespace Qt::Literals::StringLiterals;
using HistoryChartSettings::ChartType;
using HistoryChartSettings::GoalType;

namespace {

constexpr int listHeight = 6 * LnChartSettCellView::rowHeight + 4;
constexpr int fieldWidth = 150;

QFrame* separator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

LnChartMenuViewController::LnChartMenuViewController(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"LnChartMenuViewController"_s);
    if (const auto& model = NWData::shared()->appData()) {
        m_assetCategories = model->assetscat().value_or(MVX_CategoryList());
        m_liabilityCategories = model->liabilitycat().value_or(MVX_CategoryList());
        m_tags = model->tags().value_or(MVX_TagsList());
    }
    loadSettings();
    buildInterface();
    loadValues();
    applyColors();
}

LnChartMenuViewController::~LnChartMenuViewController() = default;

void LnChartMenuViewController::loadSettings()
{
    m_nwGoalType = HistoryChartSettings::goalType();
    m_chartDisplayType = HistoryChartSettings::chartType();
    m_displayChanges = HistoryChartSettings::displayChanges();
    m_displayPercent = HistoryChartSettings::displayPercent();
}

void LnChartMenuViewController::buildInterface()
{
    using platform::Strings;
    m_tabView = named(new QTabBar(this), u"tabView"_s);
    m_tabView->setExpanding(false);
    m_tabView->setDrawBase(false);
    m_tabView->setUsesScrollButtons(false);
    const QStringList tabs { Strings::tr("Net Worth"), Strings::tr("Assets & Liabilities"),
        Strings::tr("Asset Category"), Strings::tr("Liability Category"), Strings::tr("Tags") };
    for (int type = 0; type < tabs.size(); ++type) {
        m_tabView->addTab(QString(tabs.at(type)).replace(u'&', u"&&"_s)); // no mnemonics
        // The tab's identifier: its chart type plus one.
        m_tabView->setTabData(type, QString::number(type + 1));
    }
    auto* tabRow = new QHBoxLayout;
    tabRow->addStretch(1);
    tabRow->addWidget(m_tabView);
    tabRow->addStretch(1);

    m_chartBox = named(new RXRoundedBox(this), u"chartBox"_s);
    // The box only groups: no line, no fill, no title.
    m_chartBox->setBorderWidth(0.5);
    m_chartBox->setBorderRadius(7.0);
    m_chartBox->setBorderColor(Qt::transparent);
    m_chartBox->setBackgroundColor(Qt::transparent);
    m_chartBox->setTitleColor(Qt::white);
    m_chartBox->setDrawsTitle(false);
    m_chartBox->setDrawsFullTitleBar(false);
    m_chartBox->setSelected(false);
    m_chartBox->setDrawsGradientBackground(false);
    m_chartBox->setNoiseOpacity(0.0);
    auto* boxLayout = new QVBoxLayout(m_chartBox);
    boxLayout->setContentsMargins(4, 4, 4, 4);
    boxLayout->setSpacing(10);
    boxLayout->addWidget(buildTables());
    boxLayout->addWidget(separator(m_chartBox));
    boxLayout->addWidget(buildDisplayGroup());
    boxLayout->addWidget(separator(m_chartBox));
    boxLayout->addWidget(buildGoalGroup());
    boxLayout->addWidget(separator(m_chartBox));
    boxLayout->addWidget(buildLineGroup());

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 14, 16, 14);
    outer->setSpacing(10);
    outer->addLayout(tabRow);
    outer->addWidget(m_chartBox);
    connect(m_tabView, &QTabBar::currentChanged, this, &LnChartMenuViewController::tabChanged);
}

QListView* LnChartMenuViewController::makeList(const QString& name)
{
    auto* list = named(new QListView(this), name);
    list->setUniformItemSizes(true);
    list->setFixedHeight(listHeight);
    return list;
}

QWidget* LnChartMenuViewController::buildTables()
{
    using platform::Strings;
    auto* tables = new QWidget(m_chartBox);
    auto* layout = new QGridLayout(tables);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(12);
    layout->setVerticalSpacing(4);

    m_assetLabel = named(new QLabel(Strings::tr("Asset category"), tables), u"assetLabel"_s);
    m_liabilityLabel = named(new QLabel(Strings::tr("Liability category"), tables), u"liabilityLabel"_s);
    m_tagLabel = named(new QLabel(Strings::tr("Tags"), tables), u"tagLabel"_s);
    m_captions << m_assetLabel << m_liabilityLabel << m_tagLabel;

    m_assetsTableView = makeList(u"assetsTableView"_s);
    m_liabilitiesTableView = makeList(u"liabilitiesTableView"_s);
    m_tagTableView = makeList(u"tagTableView"_s);
    m_tagTableView->setModel(new FixedRowsModel(
        static_cast<int>(m_tags.size()), NWTagSelectionCellView::rowHeight, m_tagTableView));
    TableRowHost::prepareView(*m_assetsTableView, QAbstractItemView::SingleSelection);
    TableRowHost::prepareView(*m_liabilitiesTableView, QAbstractItemView::SingleSelection);
    // Tag rows are never selected: their check boxes are the whole choice.
    TableRowHost::prepareView(*m_tagTableView, QAbstractItemView::NoSelection);
    // Still filled, so that the three lists look alike.
    m_tagTableView->viewport()->setAutoFillBackground(true);
    // A chosen category that is gone counts as none: the list's first one takes its place.
    m_assetChoice = new CategoryChoiceRows(m_assetsTableView, m_assetCategories,
        HistoryChartSettings::assetCategory(), &HistoryChartSettings::setAssetCategory);
    m_liabilityChoice = new CategoryChoiceRows(m_liabilitiesTableView, m_liabilityCategories,
        HistoryChartSettings::liabilityCategory(), &HistoryChartSettings::setLiabilityCategory);
    // The rows' texts always follow the form's opacity here: full until the form says otherwise.
    for (CategoryChoiceRows* choice : { m_assetChoice, m_liabilityChoice }) {
        choice->setTextOpacity(1.0);
        connect(choice, &CategoryChoiceRows::chosenCategoryChanged, this,
            &LnChartMenuViewController::categoryChosen);
    }
    m_tagRows = new TableRowHost(m_tagTableView);
    m_tagRows->setRowFactory([this](const QModelIndex& index) { return makeTagRow(index.row()); });

    layout->addWidget(m_assetLabel, 0, 0);
    layout->addWidget(m_liabilityLabel, 0, 1);
    layout->addWidget(m_tagLabel, 0, 2);
    layout->addWidget(m_assetsTableView, 1, 0);
    layout->addWidget(m_liabilitiesTableView, 1, 1);
    layout->addWidget(m_tagTableView, 1, 2);
    for (int column = 0; column < 3; ++column)
        layout->setColumnStretch(column, 1);
    return tables;
}

QWidget* LnChartMenuViewController::buildDisplayGroup()
{
    using platform::Strings;
    auto* group = new QWidget(m_chartBox);
    auto* layout = new QHBoxLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    m_chartValueOrChangeCtl
        = named(new SegmentedControl({ Strings::tr("Values"), Strings::tr("Changes") }, group),
            u"chartValueOrChangeCtl"_s);
    m_chartCurrencyOrPercentCtl
        = named(new SegmentedControl({ Strings::tr("Amounts"), Strings::tr("Percent") }, group),
            u"chartCurrencyOrPercentCtl"_s);
    m_stackedChartCtl = named(new QCheckBox(Strings::tr("Stacked bars"), group), u"stackedChartCtl"_s);
    // The stacked switch keeps its place while hidden, so the row does not jump.
    QSizePolicy keepPlace = m_stackedChartCtl->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    m_stackedChartCtl->setSizePolicy(keepPlace);
    layout->addWidget(m_chartValueOrChangeCtl);
    layout->addWidget(m_chartCurrencyOrPercentCtl);
    layout->addStretch(1);
    layout->addWidget(m_stackedChartCtl);
    connect(m_chartValueOrChangeCtl, &SegmentedControl::segmentClicked, this,
        &LnChartMenuViewController::displayValueChanged);
    connect(m_chartCurrencyOrPercentCtl, &SegmentedControl::segmentClicked, this,
        &LnChartMenuViewController::displayCurrencyChanged);
    connect(m_stackedChartCtl, &QCheckBox::clicked, this,
        &LnChartMenuViewController::stackedChartSelectionChange);
    return group;
}

QWidget* LnChartMenuViewController::buildGoalGroup()
{
    using platform::Strings;
    auto* group = new QWidget(m_chartBox);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);

    m_nwGoal = named(new QCheckBox(Strings::tr("Show the net worth goal"), group), u"nwGoal"_s);
    m_nwGoalTypeCtl = named(
        new SegmentedControl({ Strings::tr("Suggested"), Strings::tr("Fixed") }, group), u"nwGoalTypeCtl"_s);
    const auto field = [group](const QString& name) {
        auto* edit = named(new QLineEdit(group), name);
        edit->setFixedWidth(fieldWidth);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return edit;
    };
    m_nwGoalAmount = field(u"nwGoalAmount"_s);
    m_nwGoalAmount->setPlaceholderText(Strings::tr("No goal"));
    m_nwAge = field(u"nwAge"_s);
    m_nwAnnualIncome = field(u"nwAnnualIncome"_s);
    m_goalValueLabel = named(new QLabel(Strings::tr("Goal amount:"), group), u"goalValueLabel"_s);
    m_ageTitleLabel = named(new QLabel(Strings::tr("Your age:"), group), u"ageTitleLabel"_s);
    m_annualIncomeLabel = named(new QLabel(Strings::tr("Annual income:"), group), u"annualIncomeLabel"_s);
    m_suggestedTitleLabel
        = named(new QLabel(Strings::tr("Suggested goal:"), group), u"suggestedTitleLabel"_s);
    m_nwSuggestedGoalLabel = named(new QLabel(group), u"nwSuggestedGoalLabel"_s);
    m_nwSuggestedGoalLabel->setTextFormat(Qt::PlainText);
    m_nwSuggestedGoalLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_nwSuggestedGoalLabel->setFixedWidth(fieldWidth);
    QFont bold = m_nwSuggestedGoalLabel->font();
    bold.setBold(true);
    m_nwSuggestedGoalLabel->setFont(bold);
    m_goalMessageLabel = named(new QLabel(group), u"goalMessageLabel"_s);
    m_goalMessageLabel->setTextFormat(Qt::PlainText);
    m_goalMessageLabel->setWordWrap(true);
    m_captions << m_goalValueLabel << m_ageTitleLabel << m_annualIncomeLabel << m_suggestedTitleLabel;
    // Both kinds of goal share the rows below the switch; the hidden kind keeps its place.
    for (QWidget* widget : std::initializer_list<QWidget*> { m_nwAnnualIncome, m_annualIncomeLabel,
             m_suggestedTitleLabel, m_nwSuggestedGoalLabel, m_goalMessageLabel }) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }

    grid->addWidget(m_nwGoal, 0, 0, 1, 2);
    grid->addWidget(m_nwGoalTypeCtl, 0, 2, 1, 2, Qt::AlignRight);
    grid->addWidget(m_goalValueLabel, 1, 0, Qt::AlignRight);
    grid->addWidget(m_nwGoalAmount, 1, 1);
    grid->addWidget(m_ageTitleLabel, 1, 0, Qt::AlignRight);
    grid->addWidget(m_nwAge, 1, 1);
    grid->addWidget(m_annualIncomeLabel, 1, 2, Qt::AlignRight);
    grid->addWidget(m_nwAnnualIncome, 1, 3);
    grid->addWidget(m_suggestedTitleLabel, 2, 2, Qt::AlignRight);
    grid->addWidget(m_nwSuggestedGoalLabel, 2, 3);
    grid->addWidget(m_goalMessageLabel, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);

    connect(m_nwGoal, &QCheckBox::clicked, this, &LnChartMenuViewController::showGoalChanged);
    connect(m_nwGoalTypeCtl, &SegmentedControl::segmentClicked, this,
        &LnChartMenuViewController::nwTypeGoalChanged);
    for (QLineEdit* edit : { m_nwGoalAmount, m_nwAge, m_nwAnnualIncome })
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { commitIfEdited(edit); });
    return group;
}

QWidget* LnChartMenuViewController::buildLineGroup()
{
    using platform::Strings;
    auto* group = new QWidget(m_chartBox);
    auto* layout = new QHBoxLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    m_showPlotSymbols = named(new QCheckBox(Strings::tr("Point symbols"), group), u"showPlotSymbols"_s);
    m_showAreaChart = named(new QCheckBox(Strings::tr("Area fill"), group), u"showAreaChart"_s);
    auto* widthLabel = new QLabel(Strings::tr("Line width:"), group);
    m_captions << widthLabel;
    QStringList widths;
    for (int points = 1; points <= 5; ++points)
        widths << QString::number(points);
    m_lineWidth = named(new SegmentedControl(widths, group), u"lineWidth"_s);
    layout->addWidget(m_showPlotSymbols);
    layout->addWidget(m_showAreaChart);
    layout->addStretch(1);
    layout->addWidget(widthLabel);
    layout->addWidget(m_lineWidth);
    connect(m_showPlotSymbols, &QCheckBox::clicked, this, &LnChartMenuViewController::showPlotSymbolsChanged);
    connect(m_showAreaChart, &QCheckBox::clicked, this, &LnChartMenuViewController::showAreaChartChanged);
    connect(
        m_lineWidth, &SegmentedControl::segmentClicked, this, &LnChartMenuViewController::lineWidthChanged);
    return group;
}

void LnChartMenuViewController::loadValues()
{
    {
        const QSignalBlocker quiet(m_tabView);
        m_tabView->setCurrentIndex(static_cast<int>(m_chartDisplayType));
    }
    updateFormUI();
    m_chartCurrencyOrPercentCtl->setSelectedSegment(m_displayPercent ? 1 : 0);
    m_chartValueOrChangeCtl->setSelectedSegment(m_displayChanges ? 1 : 0);
    if (!platform::UserDefaults::standard().contains(HistoryChartSettings::lineWidthKey))
        HistoryChartSettings::setLineWidthIndex(1);
    m_lineWidth->setSelectedSegment(HistoryChartSettings::lineWidthIndex());
    m_showPlotSymbols->setChecked(HistoryChartSettings::showSymbols());
    m_showAreaChart->setChecked(HistoryChartSettings::showArea());
    m_nwGoal->setChecked(HistoryChartSettings::showGoal());
    showAmountField();
    m_nwGoalTypeCtl->setSelectedSegment(static_cast<int>(m_nwGoalType));
    showIncomeField();
    showAgeField();
    m_stackedChartCtl->setChecked(HistoryChartSettings::stackedChart());
    updateFormUI();
    calculateSuggestedNW();
}

void LnChartMenuViewController::updateFormUI()
{
    const LnChartMenu::FormState state
        = LnChartMenu::formState(m_chartDisplayType, m_displayChanges, m_nwGoal->isChecked(), m_nwGoalType);
    m_stackedChartCtl->setVisible(state.stackedVisible);
    m_nwGoal->setEnabled(state.goalGroupEnabled);
    setTableState(Side::Assets, state.assetTableEnabled, state.assetRowsOpacity);
    setTableState(Side::Liabilities, state.liabilityTableEnabled, state.liabilityRowsOpacity);
    // Still usable, so not disabled: greyed as far as greyed text may be.
    KitColors::setGreyed(m_chartCurrencyOrPercentCtl, state.percentControlOpacity < 1.0);
    updateNWFieldVisibility();
}

void LnChartMenuViewController::updateNWFieldVisibility()
{
    const LnChartMenu::FormState state
        = LnChartMenu::formState(m_chartDisplayType, m_displayChanges, m_nwGoal->isChecked(), m_nwGoalType);
    const std::initializer_list<QWidget*> fixed { m_nwGoalAmount, m_goalValueLabel };
    const std::initializer_list<QWidget*> suggested { m_nwAge, m_nwAnnualIncome, m_annualIncomeLabel,
        m_ageTitleLabel, m_suggestedTitleLabel, m_nwSuggestedGoalLabel };
    for (QWidget* widget : fixed) {
        widget->setEnabled(state.goalActive);
        widget->setVisible(state.fixedGoalShown);
    }
    for (QWidget* widget : suggested) {
        widget->setEnabled(state.goalActive);
        widget->setVisible(!state.fixedGoalShown);
    }
    m_nwGoalTypeCtl->setEnabled(state.goalActive);
}

void LnChartMenuViewController::setTableState(Side side, std::optional<bool> enabled, qreal rowsOpacity)
{
    QListView* table = side == Side::Assets ? m_assetsTableView : m_liabilitiesTableView;
    QLabel* title = side == Side::Assets ? m_assetLabel : m_liabilityLabel;
    if (enabled) {
        table->setEnabled(*enabled);
        // Disabled titles are dimmed by the palette's disabled colour, the faintest that reads.
        title->setEnabled(*enabled);
    }
    // The rows dim their texts: an opacity effect over a list of row widgets draws them wrongly.
    (side == Side::Assets ? m_assetChoice : m_liabilityChoice)->setTextOpacity(rowsOpacity);
}

TableRowView* LnChartMenuViewController::makeTagRow(int row)
{
    auto* rowView = new DVGenericTableRowView;
    const MVX_Tags* tag = row >= 0 && row < m_tags.size() ? m_tags.at(row).get() : nullptr;
    NWTagSelectionCellView::fillRow(*rowView, tag,
        tag && NWData::shared()->selectedTagIDs().contains(tag->ID()),
        [this, row](bool checked) { tagRowCheckHandler(row, checked); });
    return rowView;
}

void LnChartMenuViewController::applyColors()
{
    for (QLabel* label : std::as_const(m_captions)) {
        // Disabled captions keep the palette's disabled colour.
        KitColors::setNamedColor(
            label, u"ChartText"_s, { QPalette::WindowText }, { QPalette::Active, QPalette::Inactive });
    }
    KitColors::setNamedColor(m_goalMessageLabel, u"ChartMenuWarningText"_s);
}
