#include "model/store/NWData.h"

#include <QUuid>

#include <algorithm>

QString NWData::GetUUID()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

std::shared_ptr<MVX_Tags> NWData::insertNewTag(
    const QString& name, const QString& desc, const QString& colorName)
{
    const auto& model = m_appData;
    if (!model)
        return nullptr;
    auto tag = std::make_shared<MVX_Tags>();
    tag->setID(GetUUID());
    tag->setName(name);
    tag->setDesc(desc);
    tag->setHexColorString(colorName);
    if (!model->tags())
        model->setTags(MVX_TagsList());
    model->tags()->append(tag);
    return tag;
}

std::shared_ptr<MVX_Category> NWData::insertNewAssetCategory(const QString& name, const QString& desc)
{
    return insertNewCategory(name, desc, true);
}

std::shared_ptr<MVX_Category> NWData::insertNewLiabilityCategory(const QString& name, const QString& desc)
{
    return insertNewCategory(name, desc, false);
}

std::shared_ptr<MVX_Category> NWData::insertNewCategory(const QString& name, const QString& desc, bool asset)
{
    const auto& model = m_appData;
    if (!model)
        return nullptr;
    auto category = std::make_shared<MVX_Category>();
    category->setCategoryName(name);
    category->setDesc(desc);
    category->setID(GetUUID());
    auto& list = asset ? model->assetscat() : model->liabilitycat();
    if (!list)
        list = MVX_CategoryList();
    list->append(category);

    for (const auto& record : model->nwLogArray().value_or(MVX_NWLogList())) {
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

void NWData::deleteTagRecord(const MVX_Tags& tag)
{
    const auto& model = m_appData;
    if (!model)
        return;
    // Copied first: `tag` may be an element of the list it is removed from.
    const QString tagID = tag.ID();
    for (auto* list : { &model->assetscat(), &model->liabilitycat() }) {
        if (!*list)
            continue;
        for (const auto& category : **list) {
            if (category && category->tags())
                category->tags()->removeAll(tagID);
        }
    }
    if (model->tags())
        model->tags()->removeIf([&](const auto& item) { return item && item->ID() == tagID; });
}

void NWData::deleteAssetCategory(const MVX_Category& category)
{
    deleteCategory(category, true);
}

void NWData::deleteLiabilityCategory(const MVX_Category& category)
{
    deleteCategory(category, false);
}

void NWData::deleteCategory(const MVX_Category& category, bool asset)
{
    const auto& model = m_appData;
    if (!model)
        return;
    const QString categoryID = category.ID();
    for (const auto& record : model->nwLogArray().value_or(MVX_NWLogList())) {
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
    auto& list = asset ? model->assetscat() : model->liabilitycat();
    if (list)
        list->removeIf([&](const auto& item) { return item && item->ID() == categoryID; });
}

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

bool NWData::haveTagWithName(const QString& name) const
{
    const auto& model = m_appData;
    return model && haveName(model->tags(), name, [](const MVX_Tags& tag) { return tag.name(); });
}

bool NWData::haveAssetCategoryWithName(const QString& name) const
{
    const auto& model = m_appData;
    return model && haveName(model->assetscat(), name, [](const MVX_Category& category) {
        return category.categoryName();
    });
}

bool NWData::haveLiabilityCategoryWithName(const QString& name) const
{
    const auto& model = m_appData;
    return model && haveName(model->liabilitycat(), name, [](const MVX_Category& category) {
        return category.categoryName();
    });
}
