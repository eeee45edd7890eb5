#pragma once

#include "platform/Expected.h"

#include <QString>

#include <functional>

class QObject;

/// The app-lock password and its hint, kept in the user's keychain (`platform::Keychain`)
/// under the accounts "UserAccount" and "PasswordHint", and the "AppLockIsSet" setting that
/// follows them. The lock is on exactly when the password is a non-empty text. Nothing here
/// waits for the keychain: answers come later, on the main thread, and only while `context`
/// lives. Main thread only.
namespace PasswordStore {

inline const QString passwordAccount = QStringLiteral("UserAccount");
inline const QString hintAccount = QStringLiteral("PasswordHint");

struct Stored {
    QString password; // empty when none is set
    QString hint; // empty when none is set or it cannot be read
};

/// The password and its hint, or why the password could not be read.
void read(QObject* context, std::function<void(const platform::Expected<Stored>& stored)> done);

/// Stores the hint, then the password, and reads both back. When a step fails or the
/// keychain keeps something else, the earlier pair is written back (and read back) and
/// "AppLockIsSet" stays as it was; on success "AppLockIsSet" follows the new password. The
/// steps run to their end even when `context` goes first; `done` gets none on success,
/// else the text to show.
void setPasswordAndHint(const QString& password, const QString& hint, QObject* context,
    std::function<void(const platform::MaybeError& error)> done);

} // namespace PasswordStore
