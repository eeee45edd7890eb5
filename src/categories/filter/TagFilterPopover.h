#pragma once

class PKPopoverController;
class QObject;
class TagsFilterController;

/// A new popover in the warning style (it closes on Escape, when the application becomes
/// inactive and when it loses the keyboard) around a new tag filter. The popover belongs
/// to `parent`; the caller shows it.
PKPopoverController* newTagFilterPopover(QObject* parent);
/// The tag filter inside such a popover; none for another popover.
TagsFilterController* tagFilterOf(const PKPopoverController* popover);
