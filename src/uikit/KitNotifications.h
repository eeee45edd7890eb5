#pragma once

// The notification names the interface kit posts. Every name is declared here and
// nowhere else; observers and posters use these constants.

#include <QString>

namespace notifications {

/// A modal overlay's show and close steps; the object is the overlay.
inline const QString modalOverlayWillShow = QStringLiteral("MOModalOverlayWillShowNotification");
inline const QString modalOverlayDidShow = QStringLiteral("MOModalOverlayDidShowNotification");
inline const QString modalOverlayWillClose = QStringLiteral("MOModalOverlayWillCloseNotification");
inline const QString modalOverlayDidClose = QStringLiteral("MOModalOverlayDidCloseNotification");

} // namespace notifications
