#pragma once

#include <QString>

#include <functional>

class QWidget;

/// What a title-bar command needs of the shell.
struct CommandHost {
    /// The main window, parent of the command's panels and sheets; may return null.
    std::function<QWidget*()> window;
    /// Shows a message to the user (the shell's message popover).
    std::function<void(const QString&)> showMessage;
};
