// The keychain against a real secret service: a private D-Bus session bus and a keyring
// daemon unlocked with a known password (or a service that never answers), started by the
// test and stopped after it.
#include "LockTestSupport.h"

#include "app/lock/PasswordStore.h"
#include "app/shell/AppSettings.h"
#include "platform/Keychain.h"
#include "support/Eventually.h"
#include "support/PrivateSessionBus.h"
#include "uikit/overlay/MOModalOverlay.h"
#include "uikit/window/TBAppWindow.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int startMilliseconds = 15000;

class SecretServiceTest : public mervane::test::LockTest {
protected:
    void SetUp() override
    {
        LockTest::SetUp();
        const QString dbus = QStandardPaths::findExecutable(u"dbus-daemon"_s);
        const QString keyring = QStandardPaths::findExecutable(u"gnome-keyring-daemon"_s);
        if (dbus.isEmpty() || keyring.isEmpty())
            GTEST_SKIP() << "dbus-daemon or gnome-keyring-daemon is not installed (packages dbus and "
                            "gnome-keyring of tools/debian-packages.txt)";
        platform::Keychain::setBackend(nullptr);

        const QString runtime = homePath(u"run"_s);
        ASSERT_TRUE(QDir().mkpath(runtime));
        ASSERT_TRUE(QFile::setPermissions(
            runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        m_savedBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());

        // A session bus that starts no service on demand: the desktop's files would start a
        // keyring daemon of their own as soon as the silent service is gone.
        QString error;
        const QByteArray address = mervane::test::startPrivateSessionBus(m_bus, &error);
        ASSERT_FALSE(address.isEmpty()) << error.toStdString();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);

        m_address = address;
    }

    /// The keyring daemon, answering on the test's bus.
    void startKeyring()
    {
        const QString keyring = QStandardPaths::findExecutable(u"gnome-keyring-daemon"_s);
        const QByteArray address = m_address;
        m_keyring.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        m_keyring.start(keyring, { u"--unlock"_s, u"--foreground"_s, u"--components=secrets"_s });
        ASSERT_TRUE(m_keyring.waitForStarted(startMilliseconds)) << m_keyring.errorString().toStdString();
        m_keyring.write("keyring password\n");
        m_keyring.closeWriteChannel();

        // A connection of its own: the process's session bus may have been looked up before.
        QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(address), u"lock-test-bus"_s);
        ASSERT_TRUE(bus.isConnected()) << bus.lastError().message().toStdString();
        const bool registered = QTest::qWaitFor(
            [&] { return bus.interface()->isServiceRegistered(u"org.freedesktop.secrets"_s).value(); },
            startMilliseconds);
        ASSERT_TRUE(registered) << "the keyring daemon never offered the secret service: "
                                << m_keyring.readAllStandardError().toStdString();
        // The unlocked login collection comes a moment after the name.
        const bool loginReady = QTest::qWaitFor(
            [&] {
                const QDBusMessage reply = bus.call(QDBusMessage::createMethodCall(
                    u"org.freedesktop.secrets"_s, u"/org/freedesktop/secrets/collection"_s,
                    u"org.freedesktop.DBus.Introspectable"_s, u"Introspect"_s));
                return reply.type() == QDBusMessage::ReplyMessage
                    && reply.arguments().value(0).toString().contains(u"name=\"login\""_s);
            },
            startMilliseconds);
        ASSERT_TRUE(loginReady) << "the keyring daemon never made its login collection: "
                                << m_keyring.readAllStandardError().toStdString();
    }

    void TearDown() override
    {
        LockTest::TearDown();
        QDBusConnection::disconnectFromBus(u"lock-test-bus"_s);
        for (QProcess* process : { &m_silent, &m_keyring, &m_bus }) {
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(startMilliseconds))
                    process->kill();
                process->waitForFinished(startMilliseconds);
            }
        }
        restore("XDG_RUNTIME_DIR", m_savedRuntime);
        restore("DBUS_SESSION_BUS_ADDRESS", m_savedBus);
    }

    static void restore(const char* name, const QByteArray& value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    QProcess m_bus;
    QProcess m_keyring;
    QProcess m_silent;
    QByteArray m_address;
    QByteArray m_savedRuntime;
    QByteArray m_savedBus;
};

TEST_F(SecretServiceTest, ThePasswordIsKeptUnlocksTheWindowAndIsRemovedAsEmptyTexts)
{
    ASSERT_NO_FATAL_FAILURE(startKeyring());
    const auto fresh = mervane::test::readAndWait();
    ASSERT_TRUE(fresh) << fresh.error().toStdString();
    EXPECT_TRUE(fresh->password.isEmpty()) << "a new keyring holds no password";

    ASSERT_EQ(mervane::test::storeAndWait(u"s3cret"_s, u"pet"_s), std::nullopt);
    const auto stored = mervane::test::readAndWait();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->password, u"s3cret"_s);
    EXPECT_EQ(stored->hint, u"pet"_s);
    EXPECT_EQ(mervane::test::readItemAndWait(u"UserAccount"_s).valueOr(QString()), u"s3cret"_s);
    EXPECT_TRUE(AppSettings::appLockIsSet());

    AppDelegate& delegate = makeDelegate();
    delegate.start();
    ASSERT_TRUE(delegate.pwdWinDisplayed());
    const int refetchesWhileLocked = m_refetches;
    waitUntilReady();
    attempt(u"pet"_s);
    EXPECT_TRUE(controller()->hintLabel()->isHidden());
    attempt(u"S3CRET"_s);
    EXPECT_EQ(controller()->hintLabel()->text(), u"Password hint: pet"_s);
    attempt(u"s3cret"_s);
    finishSpin();
    EXPECT_FALSE(delegate.pwdWinDisplayed());
    EXPECT_TRUE(delegate.initializedAfterPwd());
    EXPECT_EQ(m_refetches, refetchesWhileLocked + 1);

    ASSERT_EQ(mervane::test::storeAndWait({}, {}), std::nullopt);
    const platform::Expected<QString> password = mervane::test::readItemAndWait(u"UserAccount"_s);
    const platform::Expected<QString> hint = mervane::test::readItemAndWait(u"PasswordHint"_s);
    ASSERT_TRUE(password && hint);
    EXPECT_TRUE(password->isEmpty());
    EXPECT_TRUE(hint->isEmpty());
    EXPECT_FALSE(AppSettings::appLockIsSet());
}

TEST_F(SecretServiceTest, ASecretServiceThatNeverAnswersNeverShowsTheDataAndTryAgainOpensItLater)
{
    AppSettings::setAppLockIsSet(true);
    m_silent.start(QStringLiteral(MERVANE_SILENT_SECRET_SERVICE), {});
    ASSERT_TRUE(m_silent.waitForStarted(startMilliseconds));
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_silent.canReadLine(); }, startMilliseconds))
        << m_silent.readAllStandardError().toStdString();
    ASSERT_EQ(m_silent.readLine().trimmed(), "ready");

    AppDelegate& delegate = makeDelegate();
    delegate.start();
    ASSERT_TRUE(delegate.pwdWinDisplayed());
    // The keychain asked the service, which keeps the call.
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_silent.canReadLine(); }, startMilliseconds));
    EXPECT_TRUE(m_silent.readLine().startsWith("call "));
    QCoreApplication::processEvents();
    const auto expectLocked = [&] {
        EXPECT_TRUE(delegate.pwdWinDisplayed());
        EXPECT_TRUE(lock().modalOverlay().isShown());
        EXPECT_FALSE(delegate.initializedAfterPwd());
        EXPECT_FALSE(delegate.window()->contentView()->isVisible());
    };
    expectLocked();
    EXPECT_FALSE(controller()->pwdEditCtl()->isEnabled());
    EXPECT_EQ(controller()->keychainState(), PasswordOverlayWindowController::KeychainState::Waiting);

    // The service goes away without answering: the bus fails the waiting call.
    m_silent.kill();
    m_silent.waitForFinished(startMilliseconds);
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(m_address), u"lock-test-bus"_s);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !bus.interface()->isServiceRegistered(u"org.freedesktop.secrets"_s).value(); },
        startMilliseconds))
        << "the silent service's name outlived it";
    EXPECT_EVENTUALLY_WITHIN(
        controller()->keychainState() == PasswordOverlayWindowController::KeychainState::Failed, 30000);
    expectLocked();
    EXPECT_FALSE(controller()->pwdEditCtl()->isEnabled());
    EXPECT_TRUE(controller()->tryAgainButton()->isVisibleTo(controller()));

    // A keyring that answers: "Try again" gets the password, and only it opens the window.
    ASSERT_NO_FATAL_FAILURE(startKeyring());
    const platform::MaybeError stored = mervane::test::storeAndWait(u"s3cret"_s, u"pet"_s);
    ASSERT_EQ(stored, std::nullopt) << stored->toStdString();
    QTest::mouseClick(controller()->tryAgainButton(), Qt::LeftButton);
    waitUntilReady();
    expectLocked();
    attempt(u"s3cret"_s);
    finishSpin();
    EXPECT_TRUE(delegate.initializedAfterPwd());
    EXPECT_TRUE(delegate.window()->contentView()->isVisible());
}

class NoSessionBusTest : public mervane::test::LockTest {
protected:
    void SetUp() override
    {
        LockTest::SetUp();
        m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        m_savedBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toLocal8Bit() + "/mervane-no-such-runtime");
        platform::Keychain::setBackend(nullptr);
    }
    void TearDown() override
    {
        LockTest::TearDown();
        for (const auto& [name, value] : { std::pair { "XDG_RUNTIME_DIR", m_savedRuntime },
                 std::pair { "DBUS_SESSION_BUS_ADDRESS", m_savedBus } }) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }

    QByteArray m_savedRuntime;
    QByteArray m_savedBus;
};

TEST_F(NoSessionBusTest, WithoutAKeychainItAnswersThatItIsUnavailableAndANewUserStartsUnlocked)
{
    const auto unreadable = mervane::test::readAndWait();
    ASSERT_FALSE(unreadable);
    EXPECT_FALSE(unreadable.error().isEmpty());
    EXPECT_TRUE(mervane::test::storeAndWait(u"s3cret"_s, u"pet"_s));
    EXPECT_FALSE(AppSettings::appLockIsSet());

    AppDelegate& delegate = makeDelegate();
    delegate.start();
    EXPECT_EVENTUALLY(delegate.initializedAfterPwd());
    EXPECT_FALSE(delegate.pwdWinDisplayed());
    EXPECT_TRUE(delegate.window()->contentView()->isVisible());
}

} // namespace
