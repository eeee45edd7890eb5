#include "categories/screen/CategoryListPane.h"

#include "categories/common/NWCategoryCellView.h"
#include "categories/screen/CategoryListModel.h"
#include "categories/screen/CategoryScreenSettings.h"
#include "platform/Strings.h"
#include "uikit/controls/bar/CommandBar.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"
#include "uikit/controls/rows/TableRowHost.h"
#include "uikit/window/TBWindowButton.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

CategoryListPane::CategoryListPane(bool isAsset, QWidget* parent) : QWidget(parent), m_isAsset(isAsset)
{
    const QString suffix = isAsset ? u"A"_s : u"L"_s;
    setObjectName(u"categoryPane"_s + suffix);
    m_title = new QLabel(
        isAsset ? platform::Strings::tr("Asset Categories") : platform::Strings::tr("Liability Categories"),
        this);
    m_title->setObjectName(u"titleLabel"_s + suffix);
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    m_title->setFont(titleFont);
    m_showHiddenCheck = new QCheckBox(platform::Strings::tr("Show hidden"), this);
    m_showHiddenCheck->setObjectName(isAsset ? categoryscreensettings::showHiddenAssetsKey
                                             : categoryscreensettings::showHiddenLiabilitiesKey);
    m_showHidden = categoryscreensettings::showHidden(isAsset);
    m_showHiddenCheck->setChecked(m_showHidden);
    connect(m_showHiddenCheck, &QCheckBox::toggled, this, &CategoryListPane::showHiddenChanged);

    m_model = new CategoryListModel(isAsset, this);
    m_tableView = new QListView(this);
    m_tableView->setObjectName(u"tableView"_s + suffix);
    m_tableView->setModel(m_model);
    m_tableView->setUniformItemSizes(true);
    TableRowHost::prepareView(*m_tableView, QAbstractItemView::SingleSelection);
    m_tableView->setDragEnabled(true);
    m_tableView->setAcceptDrops(true);
    m_tableView->setDropIndicatorShown(true);
    m_tableView->setDragDropMode(QAbstractItemView::DragDrop);
    m_tableView->setDefaultDropAction(Qt::MoveAction);
    m_tableView->setDragDropOverwriteMode(false);
    m_tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    m_rowHost = new TableRowHost(m_tableView);
    m_rowHost->setRowFactory([this](const QModelIndex& index) { return makeRow(index.row()); });
    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &CategoryListPane::selectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &CategoryListPane::selectionChanged);
    connect(m_rowHost, &TableRowHost::rowDoubleClicked, this, &CategoryListPane::rowDoubleClicked);
    connect(m_tableView, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex index = m_tableView->indexAt(pos);
        if (index.isValid())
            Q_EMIT rowMenuRequested(index.row(), m_tableView->viewport()->mapToGlobal(pos));
    });
    connect(m_model, &CategoryListModel::categoryMoved, this, &CategoryListPane::categoryMoved);

    m_buttonView = new CommandBar(this);
    m_buttonView->setObjectName(u"buttonView"_s + suffix);
    m_deleteButton = m_buttonView->addButton(
        CommandBar::deleteSpec(platform::Strings::tr("Delete selected category"), -40));
    m_addButton
        = m_buttonView->addButton(CommandBar::addSpec(platform::Strings::tr("Add a new category"), -85));
    m_editButton = m_buttonView->addButton(
        CommandBar::editSpec(platform::Strings::tr("Edit selected category"), -130));
    m_deleteButton->setObjectName(u"deleteButton"_s + suffix);
    m_addButton->setObjectName(u"addButton"_s + suffix);
    m_editButton->setObjectName(u"editButton"_s + suffix);
    m_deleteButton->setEnabled(false);
    m_editButton->setEnabled(false);
    connect(m_deleteButton, &QAbstractButton::clicked, this, &CategoryListPane::deleteClicked);
    connect(m_addButton, &QAbstractButton::clicked, this, &CategoryListPane::addClicked);
    connect(m_editButton, &QAbstractButton::clicked, this, &CategoryListPane::editClicked);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(12, 10, 12, 6);
    header->addWidget(m_title);
    header->addStretch(1);
    header->addWidget(m_showHiddenCheck);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(header);
    layout->addWidget(m_tableView, 1);
    layout->addWidget(m_buttonView);
}

void CategoryListPane::reload()
{
    m_model->reload(m_showHidden);
}

void CategoryListPane::showHiddenChanged(bool checked)
{
    categoryscreensettings::setShowHidden(m_isAsset, checked);
    if (checked == m_showHidden)
        return;
    m_showHidden = checked;
    reload();
    m_tableView->clearSelection();
}

void CategoryListPane::selectionChanged()
{
    const QItemSelectionModel* selection = m_tableView->selectionModel();
    m_hasSelectedRecord = selection && selection->hasSelection();
    m_deleteButton->setEnabled(m_hasSelectedRecord);
    m_editButton->setEnabled(m_hasSelectedRecord);
}

std::shared_ptr<MVX_Category> CategoryListPane::selectedCategory(int clickedRow, int* row) const
{
    const QModelIndexList rows = m_tableView->selectionModel()->selectedRows();
    const int taken = rows.isEmpty() ? clickedRow : rows.first().row();
    if (row)
        *row = taken;
    return m_model->category(taken);
}

void CategoryListPane::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    if (index.isValid())
        m_tableView->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

TableRowView* CategoryListPane::makeRow(int row)
{
    const std::shared_ptr<MVX_Category> category = m_model->category(row);
    if (!category)
        return nullptr;
    auto* rowView = new DVGenericTableRowView;
    rowView->setSelectionBorderWidth(1.5f);
    auto* cell = new NWCategoryCellView(rowView);
    auto* layout = new QHBoxLayout(rowView);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cell);
    cell->setCategory(*category);
    return rowView;
}
