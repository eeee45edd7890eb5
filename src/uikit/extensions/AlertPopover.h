#pragma once

#include "uikit/popover/PopoverGeometry.h"

#include <QPointer>

#include <functional>

class PKPopoverController;
class QAbstractButton;
class QMessageBox;
class QWidget;

/// Shows an alert inside a popover beside a view instead of as a dialog. One alert is
/// shown at a time: showing another displaces the one on screen, which comes back, at
/// its own view, when the newer one is answered (the last displaced first). The
/// caller keeps ownership of its alerts; an alert deleted while waiting is skipped.
struct AlertPopover {
    /// Receives 1000 + the index of the clicked button in `alert.buttons()`.
    using CompletionBlock = std::function<void(int response)>;

    /// Shows `alert` above `view` (its max y edge, y-up).
    static void runAsPopoverForView(QMessageBox* alert, QWidget* view, CompletionBlock completionBlock);
    /// The same; the popover always opens above the view, whatever `preferredEdge` says.
    static void runAsPopoverForView(
        QMessageBox* alert, QWidget* view, platform::RectEdge preferredEdge, CompletionBlock completionBlock);
    /// Answers the alert with `button`: calls its completion block, closes its popover and
    /// shows the last displaced alert again.
    static void stopSynchronousPopoverAlert(QMessageBox* alert, QAbstractButton* button);
    /// Shows the last displaced alert again, if any.
    static void checkForPreviouslyShownAlerts();

    /// The alert's stored completion block, popover and view.
    static CompletionBlock completionBlock(QMessageBox* alert);
    static PKPopoverController* parentPopover(QMessageBox* alert);
    static QWidget* targetView(QMessageBox* alert);
    /// The alert on screen now, or none.
    static QMessageBox* shownAlert();
};
