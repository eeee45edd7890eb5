#include "reports/choice/ReportChoiceController.h"

#include "categories/filter/NWTagSelectionCellView.h"
#include "charts/history/menu/CategoryChoiceRows.h"
#include "charts/history/menu/LnChartSettCellView.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/Fonts.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "reports/settings/ReportChoiceSettings.h"
#include "uikit/controls/box/RXRoundedBox.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"
#include "uikit/controls/rows/FixedRowsModel.h"
#include "uikit/controls/rows/TableRowHost.h"
#include "uikit/controls/views/NWColoredView.h"
#include "uikit/extensions/NamedWidget.h"
#include "uikit/tabs/CustomizableTabView.h"
#include "uikit/tabs/TabGeometry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int visibleRows = 6;
constexpr int pageMargin = 14;

} // namespace

ReportChoiceController::ReportChoiceController(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"ReportChoiceController"_s);
    setFont(platform::designFont(13));
    if (const auto& model = NWData::shared()->appData()) {
        m_assetCategories = model->assetscat().value_or(MVX_CategoryList());
        m_liabilityCategories = model->liabilitycat().value_or(MVX_CategoryList());
        m_tags = model->tags().value_or(MVX_TagsList());
    }
    m_selectedTagIDs = ReportChoiceSettings::tagIDs();
    buildInterface();
    setupDateMenus();
    setFromToMenus();
    loadDefaults();
    applyAppearance();
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, [this](bool) { applyAppearance(); });
}

ReportChoiceController::~ReportChoiceController() = default;

void ReportChoiceController::buildInterface()
{
    using platform::Strings;
    m_chartBox = named(new RXRoundedBox(this), u"chartBox"_s);
    m_chartBox->setBorderWidth(0.5);
    m_chartBox->setBorderRadius(7.0);
    m_chartBox->setBorderColor(QColor::fromRgbF(0.57f, 0.57f, 0.57f, 0.5f));
    m_chartBox->setTitleColor(Qt::white);
    m_chartBox->setDrawsTitle(false);
    m_chartBox->setDrawsFullTitleBar(false);
    m_chartBox->setSelected(false);
    m_chartBox->setDrawsGradientBackground(false);
    m_chartBox->setNoiseOpacity(0.0);

    m_tabView = named(new CustomizableTabView(m_chartBox), u"tabView"_s);
    m_tabView->setBezelColor(Qt::transparent);
    m_tabView->setWindowBackgroundColor(Qt::transparent);
    // An empty key, or a category that is gone, counts as none chosen: the first one is taken.
    m_assetsTableView = makeList(u"assetsTableView"_s);
    m_assetChoice = new CategoryChoiceRows(m_assetsTableView, m_assetCategories,
        ReportChoiceSettings::assetCategory(), &ReportChoiceSettings::setAssetCategory);
    m_liabilitiesTableView = makeList(u"liabilitiesTableView"_s);
    m_liabilityChoice = new CategoryChoiceRows(m_liabilitiesTableView, m_liabilityCategories,
        ReportChoiceSettings::liabilityCategory(), &ReportChoiceSettings::setLiabilityCategory);
    m_tagTableView = makeList(u"tagTableView"_s);
    m_tagTableView->setModel(new FixedRowsModel(
        static_cast<int>(m_tags.size()), NWTagSelectionCellView::rowHeight, m_tagTableView));
    m_tabView->addTabViewItem(u"statement"_s, Strings::tr("Statement"), buildStatementPage());
    m_tabView->addTabViewItem(u"assets"_s, Strings::tr("Assets"),
        buildListPage(u"tabViewAssets"_s, Strings::tr("Asset category"),
            Strings::tr("There are no asset categories yet."), m_assetsTableView, m_assetsPeriod));
    m_tabView->addTabViewItem(u"liabilities"_s, Strings::tr("Liabilities"),
        buildListPage(u"tabViewLiabilities"_s, Strings::tr("Liability category"),
            Strings::tr("There are no liability categories yet."), m_liabilitiesTableView,
            m_liabilitiesPeriod));
    m_tabView->addTabViewItem(u"tags"_s, Strings::tr("Tags"),
        buildListPage(u"tabViewTags"_s, Strings::tr("Tags"), Strings::tr("There are no tags yet."),
            m_tagTableView, m_tagsPeriod));
    m_tabView->selectTabViewItemAtIndex(0);
    connect(m_tabView, &CustomizableTabView::selectedTabChanged, this,
        &ReportChoiceController::selectedTabChanged);
    fitTabView();

    auto* boxLayout = new QVBoxLayout(m_chartBox);
    boxLayout->setContentsMargins(4, 4, 4, 4);
    boxLayout->addWidget(m_tabView);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 14, 16, 14);
    outer->setSpacing(12);
    outer->addWidget(m_chartBox, 1);
    outer->addWidget(buildButtons());

    m_tagRows = new TableRowHost(m_tagTableView);
    m_tagRows->setRowFactory([this](const QModelIndex& index) { return makeTagRow(index.row()); });
}

NWColoredView* ReportChoiceController::makePage(const QString& name)
{
    auto* page = named(new NWColoredView, name);
    m_pages << page;
    return page;
}

QWidget* ReportChoiceController::buildStatementPage()
{
    using platform::Strings;
    NWColoredView* page = makePage(u"tabViewRidIrevu"_s);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(pageMargin, pageMargin, pageMargin, pageMargin);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(12);

    auto* intro = named(new QLabel(Strings::tr("The net worth statement of one month: its totals, the "
                                               "changes since the month and the year before, and every "
                                               "category."),
                            page),
        u"statementIntro"_s);
    intro->setWordWrap(true);
    auto* monthLabel = new QLabel(Strings::tr("Month:"), page);
    m_captions << intro << monthLabel;
    m_statement = makeDateControls(page, u"monthCtl"_s, u"yearCtl"_s);
    m_includeName = named(new QCheckBox(Strings::tr("Print my name:"), page), u"includeName"_s);
    m_nameField = named(new QLineEdit(page), u"nameField"_s);
    m_nameField->setPlaceholderText(Strings::tr("First and last name"));
    m_includeNWGoal
        = named(new QCheckBox(Strings::tr("Include the net worth goal"), page), u"includeNWGoal"_s);
    connect(m_includeName, &QCheckBox::clicked, this, &ReportChoiceController::includeNameChanged);

    auto* dateRow = new QHBoxLayout;
    dateRow->setSpacing(8);
    dateRow->addWidget(m_statement.month);
    dateRow->addWidget(m_statement.year);
    dateRow->addStretch(1);
    grid->addWidget(intro, 0, 0, 1, 2);
    grid->addWidget(monthLabel, 1, 0, Qt::AlignRight);
    grid->addLayout(dateRow, 1, 1);
    grid->addWidget(m_includeName, 2, 0);
    grid->addWidget(m_nameField, 2, 1);
    grid->addWidget(m_includeNWGoal, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget* ReportChoiceController::buildListPage(const QString& name, const QString& caption,
    const QString& emptyText, QListView* list, PeriodControls& period)
{
    using platform::Strings;
    NWColoredView* page = makePage(name);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(pageMargin, pageMargin, pageMargin, pageMargin);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);

    auto* title = new QLabel(caption, page);
    auto* empty = named(new QLabel(emptyText, page), name + u"Empty"_s);
    empty->setWordWrap(true);
    empty->setAlignment(Qt::AlignCenter);
    empty->setVisible(list->model()->rowCount() == 0);
    list->setParent(page);
    list->setVisible(list->model()->rowCount() > 0);
    // The period needs no list: it keeps the height of one either way.
    empty->setMinimumHeight(list->height());
    m_emptyNotes << empty;
    auto* fromLabel = new QLabel(Strings::tr("From:"), page);
    auto* toLabel = new QLabel(Strings::tr("To:"), page);
    auto* hint = named(new QLabel(Strings::tr("From the newest month to the oldest, both included."), page),
        name + u"Hint"_s);
    hint->setWordWrap(true);
    m_captions << title << fromLabel << toLabel << hint;
    const QString prefix = name == u"tabViewAssets"_s ? u"ass"_s
        : name == u"tabViewLiabilities"_s             ? u"lbl"_s
                                                      : u"tag"_s;
    period.from = makeDateControls(page, prefix + u"FromMonth"_s, prefix + u"FromYear"_s);
    period.to = makeDateControls(page, prefix + u"ToMonth"_s, prefix + u"ToYear"_s);

    grid->addWidget(title, 0, 0, 1, 4);
    grid->addWidget(list, 1, 0, 1, 4);
    grid->addWidget(empty, 1, 0, 1, 4);
    grid->addWidget(fromLabel, 2, 0, Qt::AlignRight);
    grid->addWidget(period.from.month, 2, 1);
    grid->addWidget(period.from.year, 2, 2);
    grid->addWidget(toLabel, 3, 0, Qt::AlignRight);
    grid->addWidget(period.to.month, 3, 1);
    grid->addWidget(period.to.year, 3, 2);
    grid->addWidget(hint, 4, 0, 1, 4);
    grid->setColumnStretch(3, 1);
    return page;
}

QWidget* ReportChoiceController::buildButtons()
{
    using platform::Strings;
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    m_cancelButton = named(new QPushButton(Strings::tr("Cancel"), row), u"cancelButton"_s);
    m_printButton = named(new QPushButton(Strings::tr("Print…"), row), u"printButton"_s);
    m_printButton->setDefault(true);
    layout->addStretch(1);
    layout->addWidget(m_cancelButton);
    layout->addWidget(m_printButton);
    connect(m_cancelButton, &QPushButton::clicked, this, &ReportChoiceController::cancelAction);
    connect(m_printButton, &QPushButton::clicked, this, &ReportChoiceController::printAction);
    return row;
}

ReportChoiceController::DateControls ReportChoiceController::makeDateControls(
    QWidget* parent, const QString& monthName, const QString& yearName)
{
    DateControls controls;
    controls.month = named(new QComboBox(parent), monthName);
    controls.year = named(new QComboBox(parent), yearName);
    controls.month->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    controls.year->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    controls.year->setMaxVisibleItems(12);
    return controls;
}

QListView* ReportChoiceController::makeList(const QString& name)
{
    auto* list = named(new QListView(this), name);
    list->setUniformItemSizes(true);
    list->setFixedHeight(visibleRows * LnChartSettCellView::rowHeight + 4);
    list->setMinimumWidth(300);
    // Tag rows are never selected: their check boxes are the whole choice.
    TableRowHost::prepareView(*list,
        name == u"tagTableView"_s ? QAbstractItemView::NoSelection : QAbstractItemView::SingleSelection);
    list->viewport()->setAutoFillBackground(true);
    return list;
}

void ReportChoiceController::fitTabView()
{
    // The tab view places its pages itself: it is given the room of the largest page.
    QSize largest;
    for (const NWColoredView* page : std::as_const(m_pages))
        largest = largest.expandedTo(page->sizeHint()).expandedTo(page->minimumSizeHint());
    const QRectF bounds(0, 0, 2000, 2000);
    const QSizeF control = m_tabView->findChild<QWidget*>(u"segmentedControl"_s)->sizeHint();
    const QRectF content = TabGeometry::contentRect(
        bounds, TabGeometry::drawnControlFrame(bounds, m_tabView->maxWidth(), control.height()));
    const QSize extra = (bounds.size() - content.size()).toSize();
    m_tabView->setMinimumSize(
        largest.expandedTo(QSize(qRound(m_tabView->maxWidth()) + 32 - extra.width(), 0)) + extra);
}

void ReportChoiceController::applyAppearance()
{
    // The box takes the popover's own fill where the application names no box colour.
    QColor background = platform::namedColor(u"ChartBoxBg"_s);
    if (!background.isValid())
        background = QApplication::palette().color(QPalette::Base);
    m_chartBox->setBackgroundColor(background);
    for (NWColoredView* page : std::as_const(m_pages)) {
        page->setBackgroundColor(background);
        page->update();
    }
    // Captions and notes are faint, in the palette's colour that stays above 4.5:1 contrast.
    const QColor faint = QApplication::palette().color(QPalette::PlaceholderText);
    for (QLabel* label : std::as_const(m_captions) + m_emptyNotes) {
        QPalette colored = label->palette();
        colored.setColor(QPalette::Active, QPalette::WindowText, faint);
        colored.setColor(QPalette::Inactive, QPalette::WindowText, faint);
        label->setPalette(colored);
    }
    for (const auto& [view, host] : { std::pair { m_assetsTableView, m_assetChoice->host() },
             std::pair { m_liabilitiesTableView, m_liabilityChoice->host() },
             std::pair { m_tagTableView, m_tagRows } }) {
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            if (auto* rowView = qobject_cast<DVGenericTableRowView*>(host->rowView(row))) {
                rowView->setColors();
                rowView->update();
            }
        }
    }
    update();
}
