#include "model/edits/ModelEdits.h"

#include <QUuid>

#include <algorithm>

namespace {

std::shared_ptr<MVX_Category> insertNewCategory(
    MVX_Model& model, const QString& name, const QString& desc, bool asset)
{
    auto category = std::make_shared<MVX_Category>();
    category->setCategoryName(name);
    category->setDesc(desc);
    category->setID(edits::GetUUID());
    auto& list = asset ? model.assetscat() : model.liabilitycat();
    if (!list)
        list = MVX_CategoryList();
    list->append(category);

    for (const auto& record : model.nwLogArray().value_or(MVX_NWLogList())) {
        if (!record)
            continue;
        auto& logs = asset ? record->assetLogs() : record->liabilityLogs();
        if (!logs)
            continue;
        auto log = std::make_shared<MVX_CategoryLog>();
        log->setValue(0.0);
        log->setCategoryID(category->ID());
        log->setYear(record->year().value_or(0));
        log->setMonth(record->month().value_or(0));
        logs->append(log);
    }
    return category;
}

void deleteCategory(MVX_Model& model, const MVX_Category& category, bool asset)
{
    const QString categoryID = category.ID();
    for (const auto& record : model.nwLogArray().value_or(MVX_NWLogList())) {
        if (!record)
            continue;
        auto& logs = asset ? record->assetLogs() : record->liabilityLogs();
        if (!logs)
            continue;
        double removed = 0;
        bool anyValue = false;
        logs->removeIf([&](const auto& log) {
            if (!log || log->categoryID() != categoryID)
                return false;
            if (log->value()) {
                removed += *log->value();
                anyValue = true;
            }
            return true;
        });
        if (!anyValue)
            continue;
        if (asset) {
            record->setAssets(record->assets().value_or(0) - removed);
            record->setNw(record->nw().value_or(0) - removed);
        } else {
            record->setLiabilities(record->liabilities().value_or(0) - removed);
            record->setNw(record->nw().value_or(0) + removed);
        }
    }
    auto& list = asset ? model.assetscat() : model.liabilitycat();
    if (list)
        list->removeIf([&](const auto& item) { return item && item->ID() == categoryID; });
}

} // namespace

namespace edits {

QString GetUUID()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

std::shared_ptr<MVX_NWLog> insertNewNWLog(MVX_Model& model)
{
    if (!model.nwLogArray())
        model.setNwLogArray(MVX_NWLogList());
    auto record = std::make_shared<MVX_NWLog>();
    model.nwLogArray()->append(record);
    return record;
}

bool removeNWLog(MVX_Model& model, const MVX_NWLog* record)
{
    if (!model.nwLogArray())
        return false;
    return model.nwLogArray()->removeIf([record](const auto& held) { return held.get() == record; }) > 0;
}

bool holdsNWLog(const MVX_Model& model, const MVX_NWLog* record)
{
    return model.nwLogArray()
        && std::any_of(model.nwLogArray()->cbegin(), model.nwLogArray()->cend(),
            [record](const auto& held) { return held.get() == record; });
}

std::shared_ptr<MVX_Tags> insertNewTag(
    MVX_Model& model, const QString& name, const QString& desc, const QString& colorName)
{
    auto tag = std::make_shared<MVX_Tags>();
    tag->setID(GetUUID());
    tag->setName(name);
    tag->setDesc(desc);
    tag->setHexColorString(colorName);
    if (!model.tags())
        model.setTags(MVX_TagsList());
    model.tags()->append(tag);
    return tag;
}

std::shared_ptr<MVX_Category> insertNewAssetCategory(
    MVX_Model& model, const QString& name, const QString& desc)
{
    return insertNewCategory(model, name, desc, true);
}

std::shared_ptr<MVX_Category> insertNewLiabilityCategory(
    MVX_Model& model, const QString& name, const QString& desc)
{
    return insertNewCategory(model, name, desc, false);
}

void deleteTagRecord(MVX_Model& model, const MVX_Tags& tag)
{
    // Copied first: `tag` may be an element of the list it is removed from.
    const QString tagID = tag.ID();
    for (auto* list : { &model.assetscat(), &model.liabilitycat() }) {
        if (!*list)
            continue;
        for (const auto& category : **list) {
            if (category && category->tags())
                category->tags()->removeAll(tagID);
        }
    }
    if (model.tags())
        model.tags()->removeIf([&](const auto& item) { return item && item->ID() == tagID; });
}

void deleteAssetCategory(MVX_Model& model, const MVX_Category& category)
{
    deleteCategory(model, category, true);
}

void deleteLiabilityCategory(MVX_Model& model, const MVX_Category& category)
{
    deleteCategory(model, category, false);
}

} // namespace edits

namespace {

template <typename List, typename Name>
bool haveName(const std::optional<List>& list, const QString& name, Name nameOf)
{
    if (!list)
        return false;
    return std::any_of(
        list->cbegin(), list->cend(), [&](const auto& item) { return item && nameOf(*item) == name; });
}

} // namespace

namespace edits {

bool haveTagWithName(const MVX_Model& model, const QString& name)
{
    return haveName(model.tags(), name, [](const MVX_Tags& tag) { return tag.name(); });
}

bool haveAssetCategoryWithName(const MVX_Model& model, const QString& name)
{
    return haveName(
        model.assetscat(), name, [](const MVX_Category& category) { return category.categoryName(); });
}

bool haveLiabilityCategoryWithName(const MVX_Model& model, const QString& name)
{
    return haveName(
        model.liabilitycat(), name, [](const MVX_Category& category) { return category.categoryName(); });
}

} // namespace edits
