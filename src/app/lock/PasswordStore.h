#pragma once

#include "platform/Expected.h"

#include <QString>

#include <optional>

/// The app-lock password and its hint, kept in the user's keychain (`platform::Keychain`)
/// under the accounts "UserAccount" and "PasswordHint". The lock is on exactly when the
/// password is a non-empty text. Main thread only.
namespace PasswordStore {

inline const QString passwordAccount = QStringLiteral("UserAccount");
inline const QString hintAccount = QStringLiteral("PasswordHint");

QString getThePassword(); // empty when none or no keychain ("UserAccount")
QString getThePasswordHint(); // ("PasswordHint")
/// Stores the hint, then the password, and reads both back; an error text on any failure.
platform::MaybeError setPasswordAndHint(const QString& password, const QString& hint);
/// Why no keychain service answers, or none when one does.
std::optional<QString> unavailableReason();

} // namespace PasswordStore
