#pragma once

#include "model/data/MVX_Model.h"

#include <QString>

/// What the category screen lists and in which order, over the store's own category objects
/// (a new number is a change of the model, written by the next save). No widgets.
namespace categoryorder {

/// The near-zero test of the hidden filter: true when the newest record's first value of
/// `categoryID` on that side is below 0.01 (negative values included); false without a
/// record or without such a value.
bool isZeroValue(const MVX_Model& model, const QString& categoryID, bool isAsset);

/// The categories of one side in the store's order, leaving out, unless `showHidden`, a
/// hidden category whose value is near zero. Empty without a model or a list.
MVX_CategoryList listedCategories(const MVX_Model* model, bool isAsset, bool showHidden);

/// Numbers `listed` 0..n-1 in its order when none of them has a number above 0, then sorts
/// it by number (equal numbers keep their order).
void numberAndSort(MVX_CategoryList& listed);

/// The categories of `side` sorted by number, equal numbers in the side's order.
MVX_CategoryList inSortOrder(const MVX_CategoryList& side);

/// Moves `listed[from]` above the row `to` (0..n; n is below the last row), then numbers the
/// whole side 0..n-1: the listed categories fill their slots of the side's order in their new
/// order, the others (left out by the hidden filter) keep theirs. `listed` must be in sort
/// order and a part of `side`. Returns whether any number changed; `listed` is left in its
/// new order. A drop just below itself, or a move that is out of range, changes nothing.
bool reorder(const MVX_CategoryList& side, MVX_CategoryList& listed, int from, int to);

/// Numbers the side 0..n-1 in its present order (after a category left it).
void renumberSide(const MVX_CategoryList& side);

} // namespace categoryorder
