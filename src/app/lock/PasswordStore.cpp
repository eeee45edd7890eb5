#include "app/lock/PasswordStore.h"

#include "platform/Keychain.h"
#include "platform/Strings.h"

namespace PasswordStore {

QString getThePassword()
{
    // A keychain that cannot be read counts as no password: the application opens unlocked.
    return platform::Keychain::read(passwordAccount).valueOr(QString());
}

QString getThePasswordHint()
{
    return platform::Keychain::read(hintAccount).valueOr(QString());
}

namespace {

// Both items as they were, so that a failure leaves the lock as it was.
struct StoredItems {
    QString password;
    QString hint;
};

platform::MaybeError storeBoth(const QString& password, const QString& hint)
{
    if (auto error = platform::Keychain::write(hintAccount, hint))
        return error;
    if (auto error = platform::Keychain::write(passwordAccount, password))
        return error;
    const platform::Expected<QString> readPassword = platform::Keychain::read(passwordAccount);
    if (!readPassword)
        return readPassword.error();
    const platform::Expected<QString> readHint = platform::Keychain::read(hintAccount);
    if (!readHint)
        return readHint.error();
    if (*readPassword != password || *readHint != hint)
        return platform::Strings::tr("The keychain did not keep what was stored.");
    return std::nullopt;
}

} // namespace

platform::MaybeError setPasswordAndHint(const QString& password, const QString& hint)
{
    const platform::Expected<QString> oldPassword = platform::Keychain::read(passwordAccount);
    if (!oldPassword)
        return platform::Strings::tr("The password could not be stored: %1").arg(oldPassword.error());
    const StoredItems old { *oldPassword, platform::Keychain::read(hintAccount).valueOr(QString()) };

    const platform::MaybeError error = storeBoth(password, hint);
    if (!error)
        return std::nullopt;
    // Best effort: the old password must keep opening the lock, with its own hint.
    static_cast<void>(platform::Keychain::write(hintAccount, old.hint));
    static_cast<void>(platform::Keychain::write(passwordAccount, old.password));
    return platform::Strings::tr("The password could not be stored: %1").arg(*error);
}

std::optional<QString> unavailableReason()
{
    return platform::Keychain::unavailableReason();
}

} // namespace PasswordStore
