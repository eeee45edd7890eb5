#pragma once

#include "platform/NotificationCenter.h"

class MOModalOverlay;
class QWidget;

/// Optional delegate of the modal overlay: every method has a harmless default. The show
/// and close methods receive the notification of the same step.
class MOModalOverlayDelegate {
public:
    virtual ~MOModalOverlayDelegate() = default;
    virtual bool modalOverlayShouldClose(MOModalOverlay*) { return true; }
    virtual void modalOverlayWillShow(const platform::Notification&) { }
    virtual void modalOverlayDidShow(const platform::Notification&) { }
    virtual void modalOverlayWillClose(const platform::Notification&) { }
    virtual void modalOverlayDidClose(const platform::Notification&) { }
};

/// What the overlay asks of its content: the view `shake` moves, if any.
class MOModalOverlayContent {
public:
    virtual ~MOModalOverlayContent() = default;
    virtual QWidget* lockView() const { return nullptr; }
};
