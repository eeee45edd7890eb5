#pragma once

#include "model/data/MVX_Model.h"

#include <QString>

#include <memory>

class NWData;

/// Creating and removing categories and tags in the store's current model, keeping every
/// monthly record consistent with the category lists. Changes stay in memory until the
/// caller saves. Operations that create return null when the store has no model.
class NWDataEdits {
public:
    explicit NWDataEdits(NWData& store) : m_store(store) { }

    /// A new random UUID, 36 characters, upper-case hexadecimal in 8-4-4-4-12 groups.
    static QString GetUUID();

    /// A new tag appended to `tags`. Names and colour names are not checked here.
    std::shared_ptr<MVX_Tags> insertNewTag(
        const QString& name, const QString& desc, const QString& colorName);
    /// A new category appended to its list; every record gains a value 0 for it (records
    /// without a log list of that side get none).
    std::shared_ptr<MVX_Category> insertNewAssetCategory(const QString& name, const QString& desc);
    std::shared_ptr<MVX_Category> insertNewLiabilityCategory(const QString& name, const QString& desc);

    /// Removes the tag's ID from every category and every tag with that ID from `tags`.
    void deleteTagRecord(const MVX_Tags& tag);
    /// Removes every value of the category (by ID) from every record, lowering the record's
    /// `assets` and `nw` by each value removed, then every category with that ID.
    void deleteAssetCategory(const MVX_Category& category);
    /// The same over liabilities: `liabilities` is lowered and `nw` raised by each value.
    void deleteLiabilityCategory(const MVX_Category& category);

    /// Exact, case-sensitive, untrimmed name tests; false without a model.
    bool haveTagWithName(const QString& name) const;
    bool haveAssetCategoryWithName(const QString& name) const;
    bool haveLiabilityCategoryWithName(const QString& name) const;

private:
    std::shared_ptr<MVX_Category> insertNewCategory(const QString& name, const QString& desc, bool asset);
    void deleteCategory(const MVX_Category& category, bool asset);

    NWData& m_store;
};
