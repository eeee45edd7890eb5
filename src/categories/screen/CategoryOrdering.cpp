#include "categories/screen/CategoryOrdering.h"

#include <QSet>

#include <algorithm>

namespace categoryorder {

namespace {

bool bySortOrder(const std::shared_ptr<MVX_Category>& a, const std::shared_ptr<MVX_Category>& b)
{
    return a->sortOrder() < b->sortOrder();
}

/// Gives `categories` the numbers 0..n-1 in their order; true when one of them changed.
bool numberInOrder(const MVX_CategoryList& categories)
{
    bool changed = false;
    for (qsizetype i = 0; i < categories.size(); ++i) {
        if (categories[i]->sortOrder() != qint32(i)) {
            categories[i]->setSortOrder(qint32(i));
            changed = true;
        }
    }
    return changed;
}

} // namespace

bool isZeroValue(const MVX_Model& model, const QString& categoryID, bool isAsset)
{
    const std::shared_ptr<MVX_NWLog> newest = model.currentLog();
    if (!newest)
        return false;
    const auto& logs = isAsset ? newest->assetLogs() : newest->liabilityLogs();
    if (!logs)
        return false;
    for (const auto& log : *logs) {
        if (log && log->categoryID() == categoryID)
            return log->value().value_or(0) < 0.01;
    }
    return false;
}

MVX_CategoryList listedCategories(const MVX_Model* model, bool isAsset, bool showHidden)
{
    MVX_CategoryList listed;
    if (!model)
        return listed;
    const auto& side = isAsset ? model->assetscat() : model->liabilitycat();
    if (!side)
        return listed;
    listed.reserve(side->size());
    for (const auto& category : *side) {
        if (!category)
            continue;
        if (showHidden || !category->isHidden() || !isZeroValue(*model, category->ID(), isAsset))
            listed.append(category);
    }
    return listed;
}

void numberAndSort(MVX_CategoryList& listed)
{
    const bool numbered = std::any_of(
        listed.cbegin(), listed.cend(), [](const auto& category) { return category->sortOrder() > 0; });
    if (!numbered)
        numberInOrder(listed);
    std::stable_sort(listed.begin(), listed.end(), bySortOrder);
}

MVX_CategoryList inSortOrder(const MVX_CategoryList& side)
{
    MVX_CategoryList sorted;
    sorted.reserve(side.size());
    for (const auto& category : side) {
        if (category)
            sorted.append(category);
    }
    std::stable_sort(sorted.begin(), sorted.end(), bySortOrder);
    return sorted;
}

bool reorder(const MVX_CategoryList& side, MVX_CategoryList& listed, int from, int to)
{
    const int count = int(listed.size());
    if (from < 0 || from >= count || to < 0 || to > count || to == from + 1)
        return false;
    MVX_CategoryList moved = listed;
    const std::shared_ptr<MVX_Category> category = moved.takeAt(from);
    moved.insert(to > from ? to - 1 : to, category);

    QSet<const MVX_Category*> isListed;
    isListed.reserve(count);
    for (const auto& entry : listed)
        isListed.insert(entry.get());
    MVX_CategoryList order = inSortOrder(side);
    qsizetype next = 0;
    for (auto& slot : order) {
        if (!isListed.contains(slot.get()))
            continue;
        if (next == moved.size())
            return false; // the side holds a listed category twice
        slot = moved[next++];
    }
    if (next != moved.size())
        return false; // a listed category the side no longer holds
    listed = moved;
    return numberInOrder(order);
}

void renumberSide(const MVX_CategoryList& side)
{
    numberInOrder(inSortOrder(side));
}

} // namespace categoryorder
