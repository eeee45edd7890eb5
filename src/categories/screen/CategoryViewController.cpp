#include "categories/screen/CategoryViewController.h"

#include "app/alerts/MessagePopover.h"
#include "categories/CategoriesNotifications.h"
#include "categories/screen/CategoryListModel.h"
#include "categories/screen/CategoryListPane.h"
#include "categories/screen/CategoryOrdering.h"
#include "categories/screen/RBLAskDeleteCategoryViewController.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "records/history/NWCategoryLogsController.h"
#include "uikit/controls/bar/CommandBar.h"
#include "uikit/controls/rows/TableRowHost.h"
#include "uikit/controls/rows/TableRowView.h"
#include "uikit/overlay/SavingOverlay.h"
#include "uikit/window/TBWindowButton.h"

#include <QHBoxLayout>
#include <QListView>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

namespace {

/// Whether the store's list of that side holds this very category.
bool storeHolds(const std::shared_ptr<MVX_Category>& category, bool isAsset)
{
    const auto& model = NWData::shared()->appData();
    if (!model || !category)
        return false;
    const auto& side = isAsset ? model->assetscat() : model->liabilitycat();
    return side && side->contains(category);
}

} // namespace

CategoryViewController::CategoryViewController(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"CategoryViewController"_s);
    m_assetPane = new CategoryListPane(true, this);
    m_liabilityPane = new CategoryListPane(false, this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_assetPane, 1);
    layout->addWidget(m_liabilityPane, 1);

    for (CategoryListPane* pane : { m_assetPane, m_liabilityPane }) {
        connect(pane, &CategoryListPane::deleteClicked, this,
            [this, pane] { deleteCategoryHandler(pane->deleteButton()); });
        connect(pane, &CategoryListPane::addClicked, this,
            [this, pane] { addNewCategoryHandler(pane->addButton()); });
        connect(pane, &CategoryListPane::editClicked, this,
            [this, pane] { categoryEditClickHandler(pane->editButton()); });
        connect(pane, &CategoryListPane::rowDoubleClicked, this, [this, pane](int row) {
            pane->selectRow(row);
            categoryEditHandler(pane->editButton(), true);
        });
        connect(pane, &CategoryListPane::rowMenuRequested, this,
            [this, pane](int row, const QPoint& globalPos) { showRowMenu(pane, row, globalPos); });
        connect(pane, &CategoryListPane::categoryMoved, this, [this, pane] {
            pane->tableView()->clearSelection();
            saveChanges(pane, true);
        });
    }

    m_messages = new MessagePopover(this);
    m_askDeletePopover = new PKPopoverController(new RBLAskDeleteCategoryViewController, this);
    m_askDeletePopover->setDefaultProperties_ItemWarning();

    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(this, notifications::dataReFetched, [this](auto&&...) { nwDataReFetchedHandler(); });
    center.addObserver(this, notifications::assetCategorySave, [this](auto&&...) { reloadAssetCategory(); });
    center.addObserver(
        this, notifications::categoryDelete, [this](auto&&...) { categoryDeleteNotifHandler(); });
    reloadData();
}

CategoryViewController::~CategoryViewController() = default;

QListView* CategoryViewController::tableViewA() const
{
    return m_assetPane->tableView();
}

QListView* CategoryViewController::tableViewL() const
{
    return m_liabilityPane->tableView();
}

void CategoryViewController::reloadData()
{
    refreshLocalAssets();
    refreshLocalLiabilities();
}

void CategoryViewController::refreshLocalAssets()
{
    m_assetPane->reload();
}

void CategoryViewController::refreshLocalLiabilities()
{
    m_liabilityPane->reload();
}

void CategoryViewController::nwDataReFetchedHandler()
{
    reloadData();
}

std::shared_ptr<MVX_Category> CategoryViewController::getSelectedAssetCategory(int* row, int clickedRow) const
{
    return m_assetPane->selectedCategory(clickedRow, row);
}

std::shared_ptr<MVX_Category> CategoryViewController::getSelectedLiabilityCategory(
    int* row, int clickedRow) const
{
    return m_liabilityPane->selectedCategory(clickedRow, row);
}

CategoryListPane* CategoryViewController::paneOf(const TBWindowButton* sender) const
{
    const bool liability = sender
        && (sender == m_liabilityPane->deleteButton() || sender == m_liabilityPane->addButton()
            || sender == m_liabilityPane->editButton());
    return liability ? m_liabilityPane : m_assetPane;
}

void CategoryViewController::deleteCategoryHandler(TBWindowButton* sender)
{
    m_deleteAssetCategory.reset();
    m_deleteLiabilityCategory.reset();
    CategoryListPane* const pane = paneOf(sender);
    std::shared_ptr<MVX_Category> category = pane->selectedCategory();
    if (!category)
        return;
    (pane->isAsset() ? m_deleteAssetCategory : m_deleteLiabilityCategory) = std::move(category);
    if (m_askDeletePopover->shown()) {
        m_askDeletePopover->close();
        return;
    }
    TBWindowButton* const anchor = pane->deleteButton();
    m_askDeletePopover->showRelativeToRect(QRectF(anchor->rect()), anchor, platform::RectEdge::MinY);
}

void CategoryViewController::categoryDeleteNotifHandler()
{
    NWData* const store = NWData::shared();
    CategoryListPane* pane = nullptr;
    if (storeHolds(m_deleteAssetCategory, true)) {
        store->deleteAssetCategory(*m_deleteAssetCategory);
        categoryorder::renumberSide(*store->appData()->assetscat());
        pane = m_assetPane;
    } else if (storeHolds(m_deleteLiabilityCategory, false)) {
        store->deleteLiabilityCategory(*m_deleteLiabilityCategory);
        categoryorder::renumberSide(*store->appData()->liabilitycat());
        pane = m_liabilityPane;
    }
    m_deleteAssetCategory.reset();
    m_deleteLiabilityCategory.reset();
    if (m_askDeletePopover->shown())
        m_askDeletePopover->close();
    if (!pane)
        return;
    pane->reload();
    saveChanges(pane, false);
}

void CategoryViewController::saveChanges(CategoryListPane* pane, bool orderChanged)
{
    const QPointer<CategoryListPane> anchor(pane);
    SavingOverlay::saveStore(this, [this, anchor, orderChanged](const platform::MaybeError& error) {
        // After a failure the store has put the file's model back and every screen has reloaded.
        auto& center = platform::NotificationCenter::defaultCenter();
        if (!error)
            center.post(notifications::dataReFetched);
        if (orderChanged)
            center.post(notifications::pieChartSettingsChange);
        if (error && anchor)
            m_messages->showMessage(platform::Strings::tr("The change could not be saved: %1").arg(*error),
                anchor->buttonView(), false, platform::RectEdge::MinY);
    });
}

void CategoryViewController::deleteAssetCategory(int clickedRow)
{
    if (!m_assetPane->listModel()->category(clickedRow))
        return;
    m_assetPane->selectRow(clickedRow);
    deleteCategoryHandler(m_assetPane->deleteButton());
}

void CategoryViewController::deleteLblCategory(int clickedRow)
{
    if (!m_liabilityPane->listModel()->category(clickedRow))
        return;
    m_liabilityPane->selectRow(clickedRow);
    deleteCategoryHandler(m_liabilityPane->deleteButton());
}

void CategoryViewController::showAssetLogs(int clickedRow)
{
    showLogs(m_assetPane, clickedRow);
}

void CategoryViewController::showLiabilityLogs(int clickedRow)
{
    showLogs(m_liabilityPane, clickedRow);
}

void CategoryViewController::showLogs(CategoryListPane* pane, int clickedRow)
{
    const std::shared_ptr<MVX_Category> category = pane->listModel()->category(clickedRow);
    if (!category)
        return;
    pane->selectRow(clickedRow);
    if (PKPopoverController::dropPopover(m_categoryLogPopover))
        return;
    m_categoryLogPopover = new PKPopoverController(new NWCategoryLogsController, this);
    m_categoryLogPopover->setDefaultProperties_ItemEdit();
    m_categoryLogPopover->setClosesWhenPopoverResignsKey(true);
    const bool isAsset = pane->isAsset();
    m_categoryLogPopover->setWillShowBlock([category, isAsset](PKPopoverController* shown) {
        if (auto* logs = qobject_cast<NWCategoryLogsController*>(shown->contentViewController()))
            logs->setCategory(category, isAsset);
    });
    QWidget* anchor = pane->rowHost()->ensureRowView(clickedRow);
    if (!anchor)
        anchor = pane->tableView();
    m_categoryLogPopover->showRelativeToRect(QRectF(anchor->rect()), anchor, platform::RectEdge::MinX);
}

void CategoryViewController::showRowMenu(CategoryListPane* pane, int row, const QPoint& globalPos)
{
    if (!pane->listModel()->category(row))
        return;
    auto* menu = new QMenu(this);
    menu->setObjectName(u"rowMenu"_s);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool isAsset = pane->isAsset();
    QAction* values = menu->addAction(platform::Strings::tr("Show values"));
    values->setObjectName(u"showValuesAction"_s);
    connect(values, &QAction::triggered, this,
        [this, isAsset, row] { isAsset ? showAssetLogs(row) : showLiabilityLogs(row); });
    QAction* edit = menu->addAction(platform::Strings::tr("Edit"));
    edit->setObjectName(u"editAction"_s);
    connect(edit, &QAction::triggered, this,
        [this, isAsset, row] { isAsset ? editAssetCategory(row) : editLblCategory(row); });
    QAction* remove = menu->addAction(platform::Strings::tr("Delete"));
    remove->setObjectName(u"deleteAction"_s);
    connect(remove, &QAction::triggered, this,
        [this, isAsset, row] { isAsset ? deleteAssetCategory(row) : deleteLblCategory(row); });
    menu->popup(globalPos);
}
