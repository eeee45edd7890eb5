#pragma once

#include <QWidget>

/// A window that still counts as key while one of its popovers holds the keyboard.
class PKPopoverParentWindow : public QWidget {
    Q_OBJECT
public:
    explicit PKPopoverParentWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    /// Active itself, or the application is active and the active window is one of its popovers.
    bool isKeyWindow() const;
    /// Active itself.
    bool isReallyKeyWindow() const;
};
