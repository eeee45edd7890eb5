#include "platform/UserNotifications.h"

#include "platform/Clock.h"
#include "platform/UserDefaults.h"
#include "support/Eventually.h"
#include "support/TempHomeTest.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using platform::UserNotification;
using platform::UserNotificationCenter;

/// What a desktop's notification service does, as far as the center uses it.
class TestNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Shown {
        QString appName;
        QString summary;
        QString body;
        QStringList actions;
    };
    QList<Shown> shown;

public Q_SLOTS:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
        const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout)
    {
        Q_UNUSED(replacesId)
        Q_UNUSED(appIcon)
        Q_UNUSED(hints)
        Q_UNUSED(expireTimeout)
        shown.append({ appName, summary, body, actions });
        return uint(100 + shown.size());
    }
    /// Answered after every call sent to the server before it.
    void Barrier() { }

Q_SIGNALS:
    void ActionInvoked(uint id, const QString& actionKey);
};

namespace {

QDateTime at(int year, int month, int day, int hour = 9, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

UserNotification reminder(const QDateTime& when, const QString& identifier = {})
{
    return { identifier, u"Mervane"_s, u"It is time to log your monthly net worth records."_s, when };
}

/// A session bus of the test's own (dbus-daemon), a connection for the center and one for the
/// test's notification server.
class UserNotificationsTest : public mervane::test::TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_daemon.setProgram(u"dbus-daemon"_s);
        m_daemon.setArguments({ u"--session"_s, u"--nofork"_s, u"--print-address=1"_s });
        m_daemon.start();
        ASSERT_TRUE(m_daemon.waitForStarted()) << "dbus-daemon did not start";
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead()) { }
        const QString address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        ASSERT_FALSE(address.isEmpty()) << "dbus-daemon printed no address";
        const QString suffix = QString::number(++s_counter);
        m_centerBusName = u"center-"_s + suffix;
        m_serverBusName = u"server-"_s + suffix;
        centerBus
            = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, m_centerBusName));
        serverBus
            = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, m_serverBusName));
        ASSERT_TRUE(centerBus->isConnected());
        ASSERT_TRUE(serverBus->isConnected());
        center = std::make_unique<UserNotificationCenter>();
        center->setConnection(*centerBus);
    }
    void TearDown() override
    {
        center.reset();
        centerBus.reset();
        serverBus.reset();
        QDBusConnection::disconnectFromBus(m_centerBusName);
        QDBusConnection::disconnectFromBus(m_serverBusName);
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            if (!m_daemon.waitForFinished())
                m_daemon.kill();
        }
        TempHomeTest::TearDown();
    }

    void registerServer()
    {
        ASSERT_TRUE(serverBus->registerObject(u"/org/freedesktop/Notifications"_s, &server,
            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
        ASSERT_TRUE(serverBus->registerService(u"org.freedesktop.Notifications"_s));
    }
    /// The center's timer, which the test fires itself once it has moved the clock.
    QTimer* timer() const { return center->findChild<QTimer*>(u"deliveryTimer"_s); }
    /// Returns once the server has handled every call the center sent it so far.
    void settle()
    {
        const QDBusPendingCall pending
            = centerBus->asyncCall(QDBusMessage::createMethodCall(u"org.freedesktop.Notifications"_s,
                u"/org/freedesktop/Notifications"_s, u"org.freedesktop.Notifications"_s, u"Barrier"_s));
        EXPECT_EVENTUALLY(pending.isFinished());
        QCoreApplication::processEvents();
    }
    void moveClockAndFire(const QDateTime& moment)
    {
        platform::Clock::setOverride(moment);
        ASSERT_TRUE(timer()->isActive());
        timer()->start(0);
        QCoreApplication::processEvents();
    }

    platform::ScopedClock clock { at(2024, 1, 10, 8) };
    TestNotificationServer server;
    std::unique_ptr<QDBusConnection> centerBus;
    std::unique_ptr<QDBusConnection> serverBus;
    std::unique_ptr<UserNotificationCenter> center;

private:
    static inline int s_counter = 0;
    QProcess m_daemon;
    QString m_centerBusName;
    QString m_serverBusName;
};

TEST(UserNotificationScheduleTest, MonthlyStepsClampToTheMonthsEndAndComeBackFromTheAnchor)
{
    const QDateTime jan31 = at(2024, 1, 31, 21, 15);
    EXPECT_EQ(UserNotificationCenter::monthlyDelivery(jan31, 0), jan31);
    EXPECT_EQ(UserNotificationCenter::monthlyDelivery(jan31, 1), at(2024, 2, 29, 21, 15));
    EXPECT_EQ(UserNotificationCenter::monthlyDelivery(jan31, 2), at(2024, 3, 31, 21, 15));
    EXPECT_EQ(UserNotificationCenter::monthlyDelivery(jan31, 3), at(2024, 4, 30, 21, 15));
    EXPECT_EQ(UserNotificationCenter::monthlyDelivery(jan31, 13), at(2025, 2, 28, 21, 15));
    EXPECT_EQ(UserNotificationCenter::monthlyDelivery(at(2023, 1, 30), 1), at(2023, 2, 28));
    EXPECT_EQ(UserNotificationCenter::monthlyDelivery(at(2023, 12, 15), 1), at(2024, 1, 15));
}

TEST_F(UserNotificationsTest, ScheduledNotificationsAreKeptEarliestFirstAndReplacedByIdentifier)
{
    EXPECT_TRUE(center->scheduledNotifications().isEmpty());
    center->scheduleNotification(reminder(at(2024, 3, 5), u"later"_s));
    center->scheduleNotification(reminder(at(2024, 2, 5)));
    QList<UserNotification> scheduled = center->scheduledNotifications();
    ASSERT_EQ(scheduled.size(), 2);
    EXPECT_EQ(scheduled.at(0).deliveryDate, at(2024, 2, 5));
    const QString made = scheduled.at(0).identifier;
    EXPECT_FALSE(made.isEmpty());
    EXPECT_EQ(scheduled.at(1).identifier, u"later"_s);
    EXPECT_EQ(scheduled.at(1).title, u"Mervane"_s);
    EXPECT_EQ(scheduled.at(1).informativeText, u"It is time to log your monthly net worth records."_s);

    // Across runs: another center reads the same from the user defaults.
    platform::UserDefaults::resetStandard();
    UserNotificationCenter nextRun;
    scheduled = nextRun.scheduledNotifications();
    ASSERT_EQ(scheduled.size(), 2);
    EXPECT_EQ(scheduled.at(0).identifier, made);

    nextRun.scheduleNotification(reminder(at(2024, 1, 20), u"later"_s));
    scheduled = nextRun.scheduledNotifications();
    ASSERT_EQ(scheduled.size(), 2);
    EXPECT_EQ(scheduled.at(0).identifier, u"later"_s);
    EXPECT_EQ(scheduled.at(0).deliveryDate, at(2024, 1, 20));
    nextRun.removeScheduledNotification(u"unknown"_s);
    EXPECT_EQ(nextRun.scheduledNotifications().size(), 2);
    nextRun.removeScheduledNotification(u"later"_s);
    nextRun.removeScheduledNotification(made);
    EXPECT_TRUE(nextRun.scheduledNotifications().isEmpty());
    EXPECT_FALSE(
        platform::UserDefaults::standard().contains(UserNotificationCenter::scheduledNotificationsKey));
}

TEST_F(UserNotificationsTest, TheServiceShowsTheReminderAtItsTimeEveryMonth)
{
    registerServer();
    QSignalSpy delivered(center.get(), &UserNotificationCenter::delivered);
    center->start();
    EXPECT_FALSE(timer()->isActive()); // nothing scheduled
    center->scheduleNotification(reminder(at(2024, 1, 31, 9), u"monthly"_s));
    ASSERT_TRUE(timer()->isActive());
    EXPECT_EQ(timer()->interval(), UserNotificationCenter::longestWaitMs);

    // Woken early, it looks at the clock and waits for the rest.
    moveClockAndFire(at(2024, 1, 31, 8, 59));
    EXPECT_TRUE(server.shown.isEmpty());
    EXPECT_EQ(timer()->interval(), 60 * 1000);

    moveClockAndFire(at(2024, 1, 31, 9));
    EXPECT_EVENTUALLY_EQ(server.shown.size(), 1);
    ASSERT_EQ(server.shown.size(), 1);
    EXPECT_EQ(server.shown.at(0).appName, QCoreApplication::applicationName());
    EXPECT_EQ(server.shown.at(0).summary, u"Mervane"_s);
    EXPECT_EQ(server.shown.at(0).body, u"It is time to log your monthly net worth records."_s);
    EXPECT_TRUE(server.shown.at(0).actions.contains(u"default"_s));
    EXPECT_EVENTUALLY_EQ(delivered.count(), 1);
    EXPECT_EQ(delivered.at(0).at(0).toString(), u"monthly"_s);

    // The next falls on the last day of February, then on 31 March again.
    moveClockAndFire(at(2024, 2, 28, 9));
    moveClockAndFire(at(2024, 2, 29, 8));
    EXPECT_EQ(timer()->interval(), UserNotificationCenter::longestWaitMs);
    moveClockAndFire(at(2024, 2, 29, 9));
    EXPECT_EVENTUALLY_EQ(server.shown.size(), 2);
    moveClockAndFire(at(2024, 3, 30, 9));
    moveClockAndFire(at(2024, 3, 31, 8, 30));
    EXPECT_EQ(timer()->interval(), 30 * 60 * 1000);
    moveClockAndFire(at(2024, 3, 31, 9));
    EXPECT_EVENTUALLY_EQ(server.shown.size(), 3);
    EXPECT_EQ(server.shown.size(), 3);

    // Removed, it neither shows nor keeps a timer.
    center->removeScheduledNotification(u"monthly"_s);
    EXPECT_FALSE(timer()->isActive());
}

TEST_F(UserNotificationsTest, TheMonthlyReminderCarriesOnIntoTheNextYear)
{
    platform::Clock::setOverride(at(2024, 11, 1));
    registerServer();
    center->start();
    center->scheduleNotification(reminder(at(2024, 11, 15), u"yearly"_s));

    moveClockAndFire(at(2024, 11, 15));
    EXPECT_EVENTUALLY_EQ(server.shown.size(), 1);
    moveClockAndFire(at(2024, 12, 15));
    EXPECT_EVENTUALLY_EQ(server.shown.size(), 2);
    moveClockAndFire(at(2025, 1, 15));
    EXPECT_EVENTUALLY_EQ(server.shown.size(), 3);
    // Fourteen months on, a run that starts late still owes the one reminder missed.
    center.reset();
    platform::Clock::setOverride(at(2026, 1, 20));
    center = std::make_unique<UserNotificationCenter>();
    center->setConnection(*centerBus);
    center->start();
    EXPECT_EVENTUALLY_EQ(server.shown.size(), 4);
    settle();
    EXPECT_EQ(server.shown.size(), 4);
}

TEST_F(UserNotificationsTest, AMissedReminderIsShownOnceAtStart)
{
    registerServer();
    center->scheduleNotification(reminder(at(2024, 1, 15), u"missed"_s));
    center.reset(); // the application quits before the 15th

    // Two deliveries (15 January and 15 February) passed while it was not running.
    platform::Clock::setOverride(at(2024, 2, 20));
    center = std::make_unique<UserNotificationCenter>();
    center->setConnection(*centerBus);
    center->start();
    EXPECT_EVENTUALLY_EQ(server.shown.size(), 1);
    ASSERT_TRUE(timer()->isActive());

    // Started again the same day: nothing is owed any more.
    center = std::make_unique<UserNotificationCenter>();
    center->setConnection(*centerBus);
    center->start();
    settle();
    EXPECT_EQ(server.shown.size(), 1);

    // Neither a reminder whose first time is still to come, nor one scheduled with a time
    // already past: its first delivery is the next monthly one.
    center->scheduleNotification(reminder(at(2024, 3, 1), u"coming"_s));
    center->scheduleNotification(reminder(at(2024, 2, 1), u"past"_s));
    center = std::make_unique<UserNotificationCenter>();
    center->setConnection(*centerBus);
    center->start();
    settle();
    EXPECT_EQ(server.shown.size(), 1);
}

TEST_F(UserNotificationsTest, ClickingTheShownReminderActivatesItsIdentifier)
{
    registerServer();
    QSignalSpy activated(center.get(), &UserNotificationCenter::activated);
    QSignalSpy delivered(center.get(), &UserNotificationCenter::delivered);
    center->start();
    center->scheduleNotification(reminder(at(2024, 1, 10, 9), u"first"_s));
    center->scheduleNotification(reminder(at(2024, 1, 10, 10), u"second"_s));
    moveClockAndFire(at(2024, 1, 10, 9));
    EXPECT_EVENTUALLY_EQ(delivered.count(), 1); // the server's id 101
    moveClockAndFire(at(2024, 1, 10, 10));
    EXPECT_EVENTUALLY_EQ(delivered.count(), 2); // 102

    // Signals arrive in order: once the last has come, so have the others.
    Q_EMIT server.ActionInvoked(101, u"other-action"_s);
    Q_EMIT server.ActionInvoked(999, u"default"_s); // someone else's notification
    Q_EMIT server.ActionInvoked(102, u"default"_s);
    EXPECT_EVENTUALLY(!activated.isEmpty() && activated.last().at(0).toString() == u"second"_s);
    ASSERT_EQ(activated.count(), 1);
}

TEST_F(UserNotificationsTest, WithoutAServiceDeliveryFailsQuietlyAndLaterOnesStillArrive)
{
    QSignalSpy delivered(center.get(), &UserNotificationCenter::delivered);
    center->start();
    center->scheduleNotification(reminder(at(2024, 1, 10, 9), u"quiet"_s));
    moveClockAndFire(at(2024, 1, 10, 9));
    // Messages of one connection reach the bus in order: once this answers, the
    // notification call has been refused.
    centerBus->interface()->isServiceRegistered(u"org.freedesktop.Notifications"_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered.count(), 0);
    EXPECT_TRUE(timer()->isActive());

    registerServer();
    moveClockAndFire(at(2024, 2, 10, 9));
    EXPECT_EVENTUALLY_EQ(delivered.count(), 1);
    settle();
    EXPECT_EQ(server.shown.size(), 1); // the refused one is not sent again

    // No bus at all: nothing to call, and the timer goes on.
    platform::Clock::setOverride(at(2024, 3, 10, 9));
    UserNotificationCenter unconnected;
    unconnected.setConnection(QDBusConnection::connectToBus(u"unix:path=/nonexistent/bus"_s, u"nowhere"_s));
    QSignalSpy none(&unconnected, &UserNotificationCenter::delivered);
    unconnected.start();
    QCoreApplication::processEvents();
    EXPECT_EQ(none.count(), 0);
    EXPECT_EQ(unconnected.scheduledNotifications().size(), 1);
    EXPECT_TRUE(unconnected.findChild<QTimer*>(u"deliveryTimer"_s)->isActive());
    QDBusConnection::disconnectFromBus(u"nowhere"_s);
}

} // namespace

#include "UserNotificationsTest.moc"
