#pragma once

#include "model/data/MVX_Model.h"

#include <QString>

#include <memory>

/// Creating and removing records, categories and tags in a model, keeping every monthly
/// record consistent with the category lists. Changes are made in place and stay in
/// memory until the caller saves; created objects are the model's own. Nothing here fails.
namespace edits {

/// A new random UUID, 36 characters, upper-case hexadecimal in 8-4-4-4-12 groups.
QString GetUUID();

/// A new record with every field empty, appended to the end of `nwLogArray`. Its place in
/// the newest-first order comes with the store's next sort.
std::shared_ptr<MVX_NWLog> insertNewNWLog(MVX_Model& model);
/// Removes this very record (not an equal one) from `nwLogArray`; false when the model
/// does not hold it.
bool removeNWLog(MVX_Model& model, const MVX_NWLog* record);
/// Whether `nwLogArray` holds this very record.
bool holdsNWLog(const MVX_Model& model, const MVX_NWLog* record);

/// A new tag appended to `tags`. Names and colour names are not checked here.
std::shared_ptr<MVX_Tags> insertNewTag(
    MVX_Model& model, const QString& name, const QString& desc, const QString& colorName);
/// A new category appended to its list; every record gains a value 0 for it (records
/// without a log list of that side get none).
std::shared_ptr<MVX_Category> insertNewAssetCategory(
    MVX_Model& model, const QString& name, const QString& desc);
std::shared_ptr<MVX_Category> insertNewLiabilityCategory(
    MVX_Model& model, const QString& name, const QString& desc);

/// Removes the tag's ID from every category and every tag with that ID from `tags`.
void deleteTagRecord(MVX_Model& model, const MVX_Tags& tag);
/// Removes every value of the category (by ID) from every record, lowering the record's
/// `assets` and `nw` by each value removed, then every category with that ID.
void deleteAssetCategory(MVX_Model& model, const MVX_Category& category);
/// The same over liabilities: `liabilities` is lowered and `nw` raised by each value.
void deleteLiabilityCategory(MVX_Model& model, const MVX_Category& category);

/// Exact, case-sensitive, untrimmed name tests.
bool haveTagWithName(const MVX_Model& model, const QString& name);
bool haveAssetCategoryWithName(const MVX_Model& model, const QString& name);
bool haveLiabilityCategoryWithName(const MVX_Model& model, const QString& name);

} // namespace edits
