#pragma once

#include "model/data/MVX_Model.h"

#include <QAbstractListModel>

/// The listed categories of one side of the category screen, as rows in their order: the
/// store's own objects, filtered by the hidden switch and sorted by number. Rows can be
/// dragged within the list; a drop moves the category and renumbers the side (a model
/// change the caller saves, told by `categoryMoved`). Anything else dropped is refused.
class CategoryListModel : public QAbstractListModel {
    Q_OBJECT
public:
    CategoryListModel(bool isAsset, QObject* parent = nullptr);

    bool isAsset() const { return m_isAsset; }

    /// Lists the store's categories of this side again (numbering them first when none has a
    /// number yet).
    void reload(bool showHidden);
    /// The category of a row, or null outside the list.
    std::shared_ptr<MVX_Category> category(int row) const;
    const MVX_CategoryList& categories() const { return m_categories; }
    /// Moves the category of row `from` above row `to` (the row count: below the last) and
    /// renumbers the side; true when a number changed.
    bool moveCategory(int from, int to);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    /// Only the size hint: the row widgets show the category.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
        const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
        const QModelIndex& parent) override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

Q_SIGNALS:
    /// A drop moved a category: the list is in its new order and the model holds new numbers.
    void categoryMoved();

private:
    /// The row a drop at (row, parent) lands above.
    int dropRow(int row, const QModelIndex& parent) const;
    /// The dragged row, when `data` is a row of this very list as it is now.
    std::optional<int> draggedRow(const QMimeData* data) const;

    bool m_isAsset;
    MVX_CategoryList m_categories;
};
