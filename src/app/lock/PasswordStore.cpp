#include "app/lock/PasswordStore.h"

#include "app/shell/AppSettings.h"
#include "platform/Keychain.h"
#include "platform/Strings.h"

#include <QCoreApplication>
#include <QPointer>

#include <memory>

namespace PasswordStore {

namespace {

using Done = std::function<void(const platform::MaybeError&)>;
using BothDone = std::function<void(const platform::Expected<Stored>&)>;

// The store's steps run on the application object, so that a caller that goes away
// (a closed settings popover) never leaves the keychain half written.
QObject* steps()
{
    return QCoreApplication::instance();
}

// Both items; with `strictHint` a hint that cannot be read is an error as well.
void readBoth(QObject* context, bool strictHint, BothDone done)
{
    platform::Keychain::read(passwordAccount, context,
        [context, strictHint, done = std::move(done)](const platform::Expected<QString>& password) {
            if (!password)
                return done(platform::Unexpected(password.error()));
            platform::Keychain::read(hintAccount, context,
                [strictHint, done, password = *password](const platform::Expected<QString>& hint) {
                    if (!hint && strictHint)
                        return done(platform::Unexpected(hint.error()));
                    done(Stored { password, hint.valueOr(QString()) });
                });
        });
}

// Writes the hint, then the password, and reads both back.
void writeAndCheck(const Stored& wanted, Done done)
{
    platform::Keychain::write(hintAccount, wanted.hint, steps(),
        [wanted, done = std::move(done)](const platform::MaybeError& error) {
            if (error)
                return done(error);
            platform::Keychain::write(
                passwordAccount, wanted.password, steps(), [wanted, done](const platform::MaybeError& error) {
                    if (error)
                        return done(error);
                    readBoth(steps(), true, [wanted, done](const platform::Expected<Stored>& kept) {
                        if (!kept)
                            return done(kept.error());
                        if (kept->password != wanted.password || kept->hint != wanted.hint)
                            return done(platform::Strings::tr("The keychain did not keep what was stored."));
                        done(std::nullopt);
                    });
                });
        });
}

} // namespace

void read(QObject* context, std::function<void(const platform::Expected<Stored>& stored)> done)
{
    readBoth(context, false, std::move(done));
}

void setPasswordAndHint(const QString& password, const QString& hint, QObject* context,
    std::function<void(const platform::MaybeError& error)> done)
{
    const auto finish
        = [guard = QPointer<QObject>(context), done = std::move(done)](const platform::MaybeError& e) {
              if (guard)
                  done(e);
          };
    const auto failed = [](const QString& reason) {
        return platform::Strings::tr("The password could not be stored: %1").arg(reason);
    };
    // The earlier pair, whole: a rollback that lost the old hint (or password) would change
    // the lock the user knows.
    readBoth(steps(), true,
        [wanted = Stored { password, hint }, finish, failed](const platform::Expected<Stored>& old) {
            if (!old)
                return finish(failed(old.error()));
            writeAndCheck(wanted, [wanted, old = *old, finish, failed](const platform::MaybeError& error) {
                if (!error) {
                    AppSettings::setAppLockIsSet(!wanted.password.isEmpty());
                    return finish(std::nullopt);
                }
                writeAndCheck(old,
                    [wanted, old, finish, failed, reason = *error](const platform::MaybeError& rollback) {
                        if (!rollback)
                            return finish(failed(reason));
                        // Which password the keychain holds now is not known: the window locks at
                        // the next start while either may be there.
                        if (!wanted.password.isEmpty() || !old.password.isEmpty())
                            AppSettings::setAppLockIsSet(true);
                        finish(failed(reason) + u'\n'
                            + platform::Strings::tr("The earlier password could not be put back either: %1")
                                  .arg(*rollback));
                    });
            });
        });
}

} // namespace PasswordStore
