#pragma once

#include "app/commands/AppCommands.h"
#include "app/lock/AppLock.h"
#include "app/lock/PasswordOverlayWindowController.h"
#include "app/lock/PasswordStore.h"
#include "app/shell/AppDelegate.h"
#include "model/store/NWData.h"
#include "platform/Keychain.h"
#include "platform/NotificationCenter.h"
#include "support/TempHomeTest.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace mervane::test {

/// The store's and the keychain's answers, waited for through the event loop (at most
/// 20 seconds: a real keyring daemon may be slow to start).
platform::MaybeError storeAndWait(const QString& password, const QString& hint);
platform::Expected<PasswordStore::Stored> readAndWait();
platform::Expected<QString> readItemAndWait(const QString& account);

/// The application's commands without the network, recording the command notifications
/// that reach them.
class LockTestCommands : public AppCommands {
public:
    LockTestCommands(AppDelegate& delegate, NWData* store, QStringList* calls)
        : AppCommands(delegate, store), m_calls(calls)
    {
    }
    void retrieveExchangeRates() override { }
    void nwDeleteAllData(const platform::Notification&) override
    {
        m_calls->append(QStringLiteral("deleteAll"));
    }
    void showPreferences(QAbstractButton*) override { m_calls->append(QStringLiteral("settings")); }

private:
    QStringList* m_calls;
};

/// A delegate on a store of its own with the real lock; counts "dataReFetched".
class LockTest : public TempHomeTest {
protected:
    void SetUp() override;
    void TearDown() override;

    /// A new delegate with the application's lock; not started.
    AppDelegate& makeDelegate();
    AppLock& lock() const;
    PasswordOverlayWindowController* controller() const { return lock().passcodeOverlayWindowController(); }
    /// Types `text` into the lock's field and presses Return.
    void attempt(const QString& text);
    /// Runs the unlock spin to its end at once.
    void finishSpin();
    /// Waits until the lock panel has the keychain's password.
    void waitUntilReady();

    NWData m_store;
    QStringList m_calls;
    int m_refetches = 0;
    QObject m_listener;
    std::unique_ptr<AppDelegate> m_delegate;
};

/// The same with the keychain's items in memory.
class InMemoryLockTest : public LockTest {
protected:
    void SetUp() override;
    void TearDown() override;

    platform::InMemoryKeychain* m_keychain = nullptr;
};

} // namespace mervane::test
