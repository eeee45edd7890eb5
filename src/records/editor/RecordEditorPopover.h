#pragma once

#include "model/data/MVX_NWLog.h"

#include <memory>

class NWEntryViewController;
class PKPopoverController;
class QObject;

/// A new popover in the editing style around a new editor. With `record` the editor
/// edits it; without one it enters a new record prefilled from the store's newest
/// record. The editor is filled in the will-show step and stops observing in the
/// will-close step; its Cancel closes the popover. The popover belongs to `parent`; the
/// caller shows it (and closes it on notifications::nwRecordSave).
PKPopoverController* newRecordEditorPopover(std::shared_ptr<MVX_NWLog> record, QObject* parent);

/// The editor inside a popover made by newRecordEditorPopover; none for another popover.
NWEntryViewController* recordEditorOf(const PKPopoverController* popover);
