#pragma once

#include "model/data/MVX_Tags.h"

#include <memory>

class PKPopoverController;
class QObject;
class TagEditControl;

/// A new popover in the editing style around a new tag editor for `tag` (none: a new tag),
/// filled in the will-show step; the editor's Cancel closes it. The popover belongs to
/// `parent`; the caller shows it and closes it on notifications::tagRecordSave.
PKPopoverController* newTagEditorPopover(std::shared_ptr<MVX_Tags> tag, QObject* parent);

/// The editor inside a popover made by newTagEditorPopover; none for another popover.
TagEditControl* tagEditorOf(const PKPopoverController* popover);
