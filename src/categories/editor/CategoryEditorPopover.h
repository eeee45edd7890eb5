#pragma once

#include "model/data/MVX_Category.h"

#include <memory>

class EditCategoryViewController;
class PKPopoverController;
class QObject;

/// A new popover in the editing style around a new category editor. With `category`
/// it edits that category (of the kind `isAsset` says); without one it adds a new
/// category of that kind. Filled in the will-show step; its Cancel closes it. The
/// popover belongs to `parent`; the caller shows it and closes it on
/// notifications::assetCategorySave.
PKPopoverController* newCategoryEditorPopover(
    std::shared_ptr<MVX_Category> category, bool isAsset, QObject* parent);
/// The editor inside such a popover; none for another popover.
EditCategoryViewController* categoryEditorOf(const PKPopoverController* popover);
