#pragma once

class QMessageBox;
class QWidget;

/// Runs an alert as a window-modal sheet and waits for its answer.
struct AlertSynchronousSheet {
    /// Shows `alert` modal to `window` (application-modal without one) and returns
    /// 1000 + the index of the clicked button in `alert.buttons()`, or 0 when the alert
    /// was closed without a button. The caller keeps ownership of the alert.
    static int runModalSheetForWindow(QMessageBox& alert, QWidget* window);
    /// The same for the application's active window.
    static int runModalSheet(QMessageBox& alert);
};
