#include "categories/filter/TagsFilterController.h"

#include "categories/CategoriesNotifications.h"
#include "categories/filter/NWTagSelectionCellView.h"

#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "platform/UserDefaults.h"
#include "uikit/controls/rows/NWTableRowView.h"
#include "uikit/controls/rows/TableRowHost.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

MVX_TagsList modelTags()
{
    const auto& model = NWData::shared()->appData();
    return model ? model->tags().value_or(MVX_TagsList()) : MVX_TagsList();
}

/// One row per tag of the model, in stored order; each row's widget shows the tag.
class TagRowsModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(modelTags().size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::SizeHintRole && index.isValid())
            return QSize(0, NWTagSelectionCellView::rowHeight);
        return {};
    }
};

} // namespace

TagsFilterController::TagsFilterController(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"TagsFilterController"_s);
    resize(300, 320);

    auto* title = new QLabel(platform::Strings::tr("Tag filter"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    m_filterAllCtl = new QCheckBox(platform::Strings::tr("Show tagged categories only"), this);
    m_filterAllCtl->setObjectName(u"filterAllCtl"_s);
    m_filterAllCtl->setChecked(false);
    connect(m_filterAllCtl, &QCheckBox::toggled, this, &TagsFilterController::filterAllChanged);

    m_tableView = new QListView(this);
    m_tableView->setObjectName(u"tableView"_s);
    m_tableView->setModel(new TagRowsModel(m_tableView));
    m_tableView->setUniformItemSizes(true);
    // Rows are never selected: the check boxes are the whole choice.
    TableRowHost::prepareView(*m_tableView, QAbstractItemView::NoSelection);
    m_rowHost = new TableRowHost(m_tableView);
    m_rowHost->setRowFactory([this](const QModelIndex& index) { return makeRow(index.row()); });

    auto* empty = new QLabel(platform::Strings::tr("No tags yet"), this);
    empty->setObjectName(u"emptyLabel"_s);
    empty->setAlignment(Qt::AlignCenter);
    empty->setForegroundRole(QPalette::PlaceholderText);
    empty->setVisible(m_tableView->model()->rowCount() == 0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(8);
    layout->addWidget(title);
    layout->addWidget(m_filterAllCtl);
    layout->addWidget(m_tableView, 1);
    layout->addWidget(empty);
}

TableRowView* TagsFilterController::makeRow(int row)
{
    const MVX_TagsList tags = modelTags();
    auto* rowView = new NWTableRowView;
    const MVX_Tags* tag = row >= 0 && row < tags.size() ? tags.at(row).get() : nullptr;
    NWTagSelectionCellView::fillRow(*rowView, tag,
        tag && NWData::shared()->selectedTagIDs().contains(tag->ID()),
        [this, row](bool checked) { tagRowCheckHandler(row, checked); });
    return rowView;
}

void TagsFilterController::tagRowCheckHandler(int row, bool checked)
{
    const MVX_TagsList tags = modelTags();
    if (row < 0 || row >= tags.size() || !tags.at(row))
        return;
    NWData::shared()->setTagInFilter(tags.at(row)->ID(), checked);
    if (m_filterAllCtl->isChecked())
        platform::NotificationCenter::defaultCenter().post(notifications::tagFilterChanged);
}

void TagsFilterController::filterAllChanged(bool on)
{
    platform::UserDefaults::standard().setValue(tagFilterOnKey, on);
    platform::NotificationCenter::defaultCenter().post(notifications::tagFilterChanged);
}
