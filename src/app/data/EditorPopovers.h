#pragma once

#include <QList>

class PKPopoverController;
class QWidget;

/// Closes every shown popover except those in `keep`, so that no editor is left writing into
/// a model that is about to be replaced.
void closeEditorPopovers(const QList<const PKPopoverController*>& keep = {});

/// The shown popover whose content is or holds `widget`; null when there is none.
const PKPopoverController* enclosingShownPopover(const QWidget* widget);
