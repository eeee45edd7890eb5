#pragma once

#include "platform/FileChooser.h"

#include <QString>

class QIcon;
class QWidget;

/// What the executable sets up around the application object.
namespace ApplicationSetup {

/// Frameless windows and popovers place themselves, which native Wayland does not allow:
/// prefer XWayland when it is there. Call before the application object exists.
void preferXWaylandOnWayland();

/// Names, version, style, icon, translations, the appearance and the file dialogs. Call
/// once the application object exists.
void configureApplication();

/// The application's icon, drawn from its vector image at each of `iconSizes`, smallest
/// first: the window system gets every size (taskbars, Alt+Tab) and a reader that fetches
/// only the start of the window's icon list still finds the small ones.
QIcon applicationIcon();
inline constexpr int iconSizes[] = { 16, 22, 24, 32, 48, 64, 128, 256 };

/// Brings `window` forward for the user: un-minimised, shown and raised, with its visible
/// panels and popovers (and any modal panel) above it in their order; the keyboard goes to the
/// one of them that had it last, else to the window.
void bringToFront(QWidget* window);

/// Shows the file dialog a request asks for; the chosen path or an empty string.
QString presentFileDialog(const platform::FileRequest& request);

} // namespace ApplicationSetup
