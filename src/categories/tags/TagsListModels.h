#pragma once

#include "model/data/MVX_CategoryEx.h"
#include "model/data/MVX_Tags.h"

#include <QAbstractListModel>
#include <QList>
#include <QSize>

#include <memory>

/// The store's tags in stored order, as rows. It keeps no copy: rows read the store's list,
/// and `reload` tells the view that the list changed.
class TagListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    /// Only the size hint: the row widgets show the tag.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    /// The tag of a row, or null outside the list.
    std::shared_ptr<MVX_Tags> tag(int row) const;
    void reload();

private:
    int m_count = 0;
};

/// The categories of `categories` (in their order) whose tag IDs hold `tagID`, paired with
/// `isAsset`; the store's own objects, not copies.
QList<std::shared_ptr<MVX_CategoryEx>> categoriesCarrying(
    const std::optional<QList<std::shared_ptr<MVX_Category>>>& categories, const QString& tagID,
    bool isAsset);

/// The categories of one side that carry a tag, each the store's own object.
class CategoryExListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const QList<std::shared_ptr<MVX_CategoryEx>>& categories() const { return m_categories; }
    void setCategories(QList<std::shared_ptr<MVX_CategoryEx>> categories);
    /// The category of a row, or null outside the list.
    std::shared_ptr<MVX_Category> category(int row) const;

private:
    QList<std::shared_ptr<MVX_CategoryEx>> m_categories;
};
