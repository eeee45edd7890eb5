// The keychain against a real secret service: a private D-Bus session bus and a keyring
// daemon unlocked with a known password, both started by the test and stopped after it.
#include "LockTestSupport.h"

#include "app/lock/PasswordStore.h"
#include "platform/Keychain.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
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

        m_bus.start(dbus, { u"--session"_s, u"--nofork"_s, u"--print-address=1"_s });
        ASSERT_TRUE(m_bus.waitForStarted(startMilliseconds)) << m_bus.errorString().toStdString();
        while (!m_bus.canReadLine() && m_bus.waitForReadyRead(startMilliseconds)) { }
        const QByteArray address = m_bus.readLine().trimmed();
        ASSERT_FALSE(address.isEmpty()) << "the session bus gave no address";
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);

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
    }

    void TearDown() override
    {
        LockTest::TearDown();
        QDBusConnection::disconnectFromBus(u"lock-test-bus"_s);
        for (QProcess* process : { &m_keyring, &m_bus }) {
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
    QByteArray m_savedRuntime;
    QByteArray m_savedBus;
};

TEST_F(SecretServiceTest, ThePasswordIsKeptUnlocksTheWindowAndIsRemovedAsEmptyTexts)
{
    EXPECT_EQ(PasswordStore::unavailableReason(), std::nullopt);
    EXPECT_TRUE(PasswordStore::getThePassword().isEmpty()) << "a new keyring holds no password";

    ASSERT_EQ(PasswordStore::setPasswordAndHint(u"s3cret"_s, u"pet"_s), std::nullopt);
    EXPECT_EQ(PasswordStore::getThePassword(), u"s3cret"_s);
    EXPECT_EQ(PasswordStore::getThePasswordHint(), u"pet"_s);
    EXPECT_EQ(platform::Keychain::read(u"UserAccount"_s).valueOr(QString()), u"s3cret"_s);

    AppDelegate& delegate = makeDelegate();
    delegate.start();
    ASSERT_TRUE(delegate.pwdWinDisplayed());
    const int refetchesWhileLocked = m_refetches;
    attempt(u"pet"_s);
    EXPECT_TRUE(controller()->hintLabel()->isHidden());
    attempt(u"S3CRET"_s);
    EXPECT_EQ(controller()->hintLabel()->text(), u"Password hint: pet"_s);
    attempt(u"s3cret"_s);
    finishSpin();
    EXPECT_FALSE(delegate.pwdWinDisplayed());
    EXPECT_TRUE(delegate.initializedAfterPwd());
    EXPECT_EQ(m_refetches, refetchesWhileLocked + 1);

    ASSERT_EQ(PasswordStore::setPasswordAndHint({}, {}), std::nullopt);
    const platform::Expected<QString> password = platform::Keychain::read(u"UserAccount"_s);
    const platform::Expected<QString> hint = platform::Keychain::read(u"PasswordHint"_s);
    ASSERT_TRUE(password && hint);
    EXPECT_TRUE(password->isEmpty());
    EXPECT_TRUE(hint->isEmpty());
}

TEST(SecretServiceKeychain, WithoutASessionBusItAnswersAtOnceThatItIsUnavailable)
{
    const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toLocal8Bit() + "/mervane-no-such-runtime");
    platform::Keychain::setBackend(nullptr);

    const std::optional<QString> reason = PasswordStore::unavailableReason();
    EXPECT_TRUE(reason && !reason->isEmpty());
    EXPECT_TRUE(PasswordStore::getThePassword().isEmpty());
    EXPECT_TRUE(PasswordStore::setPasswordAndHint(u"s3cret"_s, u"pet"_s));

    if (!bus.isNull())
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
    if (runtime.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", runtime);
}

} // namespace
