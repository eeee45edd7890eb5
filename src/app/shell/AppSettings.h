#pragma once

#include "platform/Appearance.h"

#include <QString>

#include <optional>

/// The shell's settings keys with their types and fallbacks, over the standard user defaults.
namespace AppSettings {

/// "mcmain": the main window's frame (text form of `WindowFrame`); absent until the first quit.
inline const QString mainWindowFrameKey = QStringLiteral("mcmain");
/// "SelectedAppearance": 0 the system's, 1 light, 2 dark; absent leaves the appearance alone.
inline const QString selectedAppearanceKey = QStringLiteral("SelectedAppearance");

/// The saved frame text; a null string when absent or not a string.
QString mainWindowFrame();
/// Stores the frame text and writes the settings to disk.
void setMainWindowFrame(const QString& frameText);

/// "AppLockIsSet" (boolean, absent: false): an app-lock password is stored in the keychain.
/// It holds nothing of the password; it lets the start lock the window before the keychain
/// has answered, and keep it locked when the keychain cannot be read.
inline const QString appLockIsSetKey = QStringLiteral("AppLockIsSet");

bool appLockIsSet();
/// Stores the flag and writes the settings to disk.
void setAppLockIsSet(bool set);

inline constexpr qint64 systemAppearance = 0;
inline constexpr qint64 darkAppearance = 2;

/// The stored appearance choice, 0 to 2; none when the key is absent, the system's (0) when
/// it holds anything else.
std::optional<qint64> selectedAppearance();
/// Stores the appearance choice and writes the settings to disk.
void setSelectedAppearance(qint64 appearance);
/// The appearance to apply for a stored choice: light for 1, dark for 2, none otherwise
/// (the current appearance stays).
std::optional<platform::Appearance> appearanceToApply(std::optional<qint64> stored);

} // namespace AppSettings
