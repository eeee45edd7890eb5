#pragma once

#include "platform/FileChooser.h"

#include <QString>

class QWidget;

/// What the executable sets up around the application object.
namespace ApplicationSetup {

/// Frameless windows and popovers place themselves, which native Wayland does not allow:
/// prefer XWayland when it is there. Call before the application object exists.
void preferXWaylandOnWayland();

/// Names, version, style, icon, translations, the appearance and the file dialogs. Call
/// once the application object exists.
void configureApplication();

/// Brings `window` forward for the user: un-minimised, shown, raised and active.
void bringToFront(QWidget* window);

/// Shows the file dialog a request asks for; the chosen path or an empty string.
QString presentFileDialog(const platform::FileRequest& request);

} // namespace ApplicationSetup
