#include "categories/tags/TagsViewController.h"

#include "app/alerts/MessagePopover.h"
#include "categories/CategoriesNotifications.h"
#include "categories/common/NWCategoryCellView.h"
#include "categories/tags/NWTagCellView.h"
#include "categories/tags/NW_TagBgView.h"
#include "categories/tags/TagArrowGeometry.h"
#include "categories/tags/TagAskDeleteControl.h"
#include "categories/tags/TagsListModels.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "uikit/controls/KitColors.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"
#include "uikit/controls/rows/TableRowHost.h"

#include <QHBoxLayout>
#include <QScrollBar>

using namespace Qt::Literals::StringLiterals;

namespace {

QLabel* caption(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    KitColors::setNamedColor(label, u"SecondaryText"_s);
    return label;
}

TableRowView* rowAround(QWidget* cell)
{
    auto* row = new DVGenericTableRowView;
    row->setSelectionBorderWidth(1.5f);
    cell->setParent(row);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cell);
    return row;
}

} // namespace

TagsViewController::TagsViewController(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"TagsViewController"_s);
    buildView();

    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(this, notifications::dataReFetched, [this](auto&&...) { nwDataReFetchedHandler(); });
    center.addObserver(this, notifications::tagRecordSave, [this](auto&&...) { reloadTags(); });
    center.addObserver(this, notifications::tagDelete, [this](auto&&...) { tagDeleteNotifHandler(); });
    reloadData();
}

TagsViewController::~TagsViewController() = default;

QListView* TagsViewController::makeList(const QString& name, TableRowHost*& host)
{
    auto* view = new QListView(m_backgroundView);
    view->setObjectName(name);
    view->setUniformItemSizes(true);
    TableRowHost::prepareView(*view, QAbstractItemView::SingleSelection);
    host = new TableRowHost(view);
    return view;
}

void TagsViewController::buildView()
{
    setMinimumSize(detailLeft + 200, 360);
    m_backgroundView = new NW_TagBgView(this);
    m_tagCaption = caption(u"tagCaption"_s, platform::Strings::tr("Tags"), m_backgroundView);
    m_assetCaption = caption(u"assetCaption"_s, platform::Strings::tr("Asset categories"), m_backgroundView);
    m_liabilityCaption
        = caption(u"liabilityCaption"_s, platform::Strings::tr("Liability categories"), m_backgroundView);

    m_tableViewTag = makeList(u"tableViewTag"_s, m_tagHost);
    m_tagModel = new TagListModel(m_tableViewTag);
    m_tableViewTag->setModel(m_tagModel);
    m_tagHost->setRowFactory([this](const QModelIndex& index) { return makeTagRow(index.row()); });
    connect(m_tableViewTag->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_reloading)
            tableViewSelectionDidChange();
    });
    connect(
        m_tagHost, &TableRowHost::rowDoubleClicked, this, &TagsViewController::categoryDoubleClickHandler);
    connect(m_tableViewTag->verticalScrollBar(), &QScrollBar::valueChanged, this,
        &TagsViewController::doTheMasterDetailArrowLine);

    m_tableViewCategoryA = makeList(u"tableViewCategoryA"_s, m_hostA);
    m_modelA = new CategoryExListModel(m_tableViewCategoryA);
    m_tableViewCategoryA->setModel(m_modelA);
    m_hostA->setRowFactory([this](const QModelIndex& index) { return makeCategoryRow(true, index.row()); });
    m_tableViewCategoryL = makeList(u"tableViewCategoryL"_s, m_hostL);
    m_modelL = new CategoryExListModel(m_tableViewCategoryL);
    m_tableViewCategoryL->setModel(m_modelL);
    m_hostL->setRowFactory([this](const QModelIndex& index) { return makeCategoryRow(false, index.row()); });

    m_buttonViewA = new CommandBar(m_backgroundView);
    m_buttonViewA->setObjectName(u"buttonViewA"_s);
    buildCommandBar();

    m_messages = new MessagePopover(this);
    m_askDeletePopover = new PKPopoverController(new TagAskDeleteControl, this);
    m_askDeletePopover->setDefaultProperties_ItemWarning();
}

void TagsViewController::buildCommandBar()
{
    m_deleteButtonA
        = m_buttonViewA->addButton(CommandBar::deleteSpec(platform::Strings::tr("Delete selected tag"), -40));
    m_addButtonA = m_buttonViewA->addButton(CommandBar::addSpec(platform::Strings::tr("Add a new tag"), -85));
    m_editButtonA
        = m_buttonViewA->addButton(CommandBar::editSpec(platform::Strings::tr("Edit selected tag"), -130));
    connect(m_deleteButtonA, &QAbstractButton::clicked, this, &TagsViewController::deleteCategoryHandler);
    connect(m_addButtonA, &QAbstractButton::clicked, this, &TagsViewController::addNewCategoryHandler);
    connect(m_editButtonA, &QAbstractButton::clicked, this, &TagsViewController::categoryEditClickHandler);
    m_deleteButtonA->setEnabled(false);
    m_editButtonA->setEnabled(false);
}

void TagsViewController::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutSubviews();
}

void TagsViewController::layoutSubviews()
{
    const int width = this->width();
    const int height = this->height();
    m_backgroundView->setGeometry(0, 0, width, height);
    const int captionHeight = 20;
    const int captionTop = listTop - captionHeight - 6;
    m_tagCaption->setGeometry(margin, captionTop, tagListRight - margin, captionHeight);
    m_tableViewTag->setGeometry(
        0, listTop, tagListRight, std::max(0, height - listTop - CommandBar::barHeight));
    m_buttonViewA->setGeometry(0, height - CommandBar::barHeight, tagListRight, CommandBar::barHeight);

    // The two detail lists share the height, so each arrow meets its list's first row.
    const int detailWidth = std::max(0, width - detailLeft - margin);
    const int listHeight = std::max(0, (height - listTop - detailGap - margin) / 2);
    m_assetCaption->setGeometry(detailLeft, captionTop, detailWidth, captionHeight);
    m_tableViewCategoryA->setGeometry(detailLeft, listTop, detailWidth, listHeight);
    const int liabilityTop = listTop + listHeight + detailGap;
    m_liabilityCaption->setGeometry(detailLeft, liabilityTop - captionHeight - 3, detailWidth, captionHeight);
    m_tableViewCategoryL->setGeometry(detailLeft, liabilityTop, detailWidth, listHeight);
    doTheMasterDetailArrowLine();
}

TableRowView* TagsViewController::makeTagRow(int row)
{
    const std::shared_ptr<MVX_Tags> tag = m_tagModel->tag(row);
    if (!tag)
        return nullptr;
    auto* cell = new NWTagCellView;
    cell->setTag(*tag);
    return rowAround(cell);
}

TableRowView* TagsViewController::makeCategoryRow(bool isAsset, int row)
{
    const std::shared_ptr<MVX_Category> category = (isAsset ? m_modelA : m_modelL)->category(row);
    if (!category)
        return nullptr;
    auto* cell = new NWCategoryCellView;
    cell->setCategory(*category);
    TableRowView* rowView = rowAround(cell);
    connect(rowView, &TableRowView::pressed, this, [this, isAsset, row] { showCategoryLogs(isAsset, row); });
    return rowView;
}

NW_TagBgView* TagsViewController::backgroundView() const
{
    return m_backgroundView;
}

const QList<std::shared_ptr<MVX_CategoryEx>>& TagsViewController::categoryArrayA() const
{
    return m_modelA->categories();
}

const QList<std::shared_ptr<MVX_CategoryEx>>& TagsViewController::categoryArrayL() const
{
    return m_modelL->categories();
}

std::shared_ptr<MVX_Tags> TagsViewController::getSelectedTagObject(int* row) const
{
    const QModelIndexList rows = m_tableViewTag->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    const int selected = rows.first().row();
    if (row)
        *row = selected;
    return m_tagModel->tag(selected);
}

void TagsViewController::reloadData()
{
    int row = -1;
    getSelectedTagObject(&row);
    m_reloading = true;
    m_tagModel->reload();
    // The selection stays on its row, as long as the list still has that row.
    if (row >= 0 && row < m_tagModel->rowCount())
        m_tableViewTag->selectionModel()->select(
            m_tagModel->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_reloading = false;
    tableViewSelectionDidChange();
}

void TagsViewController::refetchCategories()
{
    m_selectedTagObject = getSelectedTagObject();
    const auto& model = NWData::shared()->appData();
    if (!m_selectedTagObject || !model) {
        clearCategories();
        return;
    }
    const QString id = m_selectedTagObject->ID();
    m_modelA->setCategories(categoriesCarrying(model->assetscat(), id, true));
    m_modelL->setCategories(categoriesCarrying(model->liabilitycat(), id, false));
}

void TagsViewController::clearCategories()
{
    m_modelA->setCategories({});
    m_modelL->setCategories({});
}

void TagsViewController::tableViewSelectionDidChange()
{
    const bool selected = m_tableViewTag->selectionModel()->hasSelection();
    m_hasSelectedRecordA = selected;
    m_deleteButtonA->setEnabled(selected);
    m_editButtonA->setEnabled(selected);
    if (selected) {
        refetchCategories();
    } else {
        m_selectedTagObject = nullptr;
        clearCategories();
    }
    doTheMasterDetailArrowLine();
}

void TagsViewController::doTheMasterDetailArrowLine()
{
    int row = -1;
    const bool selected = getSelectedTagObject(&row) != nullptr;
    m_backgroundView->setRecordSelected(selected);
    if (selected) {
        // The row's rectangle in the viewport is already relative to the visible top.
        const QRect rowRect = m_tableViewTag->visualRect(m_tagModel->index(row, 0));
        m_backgroundView->setRecordPosition(
            TagArrowGeometry::recordPosition(rowRect.top(), 0, m_tableViewTag->viewport()->height()));
        m_backgroundView->setLiabilityTablePosition(
            TagArrowGeometry::liabilityTablePosition(m_tableViewCategoryA->height()));
    }
    m_backgroundView->update();
}

// reloadData rebuilds the detail lists too, through the selection it keeps.
void TagsViewController::nwDataReFetchedHandler()
{
    reloadData();
}

void TagsViewController::reloadTags()
{
    reloadData();
    if (m_editCategoryPopover && m_editCategoryPopover->shown())
        m_editCategoryPopover->close();
}
