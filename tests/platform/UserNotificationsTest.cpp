#include "platform/UserNotifications.h"

#include "platform/Clock.h"
#include "platform/UserDefaults.h"
#include "support/Eventually.h"
#include "support/PrivateSessionBus.h"
#include "support/RecordingNotificationServer.h"
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

namespace {

QDateTime at(int year, int month, int day, int hour = 9, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

UserNotification reminder(const QDateTime& when, const QString& identifier = {})
{
    return { identifier, u"Mervane"_s, u"It is time to log your monthly net worth records."_s, when };
}

/// Up to when the stored notification counts as handled.
QDateTime handledThrough(const QString& identifier)
{
    const QVariantList stored
        = platform::UserDefaults::standard().list(UserNotificationCenter::scheduledNotificationsKey);
    for (const QVariant& value : stored) {
        if (value.toMap().value(u"identifier"_s).toString() == identifier)
            return value.toMap().value(u"handledThrough"_s).toDateTime();
    }
    return {};
}

/// A session bus of the test's own, a connection for the center and one for the
/// test's notification server.
class UserNotificationsTest : public mervane::test::TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        s_unshown = 0;
        s_previousHandler = qInstallMessageHandler(countUnshown);
        // No notification service but the test's: the machine's could be started on demand.
        QString error;
        const QString address = QString::fromUtf8(mervane::test::startPrivateSessionBus(m_daemon, &error));
        ASSERT_FALSE(address.isEmpty()) << error.toStdString();
        const QString suffix = QString::number(++s_counter);
        m_centerBusName = u"center-"_s + suffix;
        m_serverBusName = u"server-"_s + suffix;
        centerBus
            = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, m_centerBusName));
        serverBus
            = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, m_serverBusName));
        ASSERT_TRUE(centerBus->isConnected());
        ASSERT_TRUE(serverBus->isConnected());
        newCenter();
    }
    void TearDown() override
    {
        qInstallMessageHandler(s_previousHandler);
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
        ASSERT_TRUE(serverBus->registerObject(
            u"/org/freedesktop/Notifications"_s, &server, QDBusConnection::ExportScriptableContents));
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
    /// How many times a center said it could not show a notification (it says so when the
    /// answer to its call came back as a failure).
    static int unshownCount() { return s_unshown; }
    /// A center on the test's bus, as at the application's start (not started yet).
    void newCenter()
    {
        center = std::make_unique<UserNotificationCenter>();
        center->setConnection(*centerBus);
        QObject::connect(center.get(), &UserNotificationCenter::delivered, [this] { ++deliveries; });
    }
    /// The application quits and starts again (with its settings read from the file again).
    void restartCenter()
    {
        center.reset();
        platform::UserDefaults::resetStandard();
        newCenter();
        center->start();
    }
    void moveClockAndFire(const QDateTime& moment)
    {
        platform::Clock::setOverride(moment);
        ASSERT_TRUE(timer()->isActive());
        timer()->start(0);
        QCoreApplication::processEvents();
    }
    /// A reminder "refused", due at 9 o'clock on 10 January 2024, that the service refuses
    /// to show at its first delivery.
    void refuseTheFirstDelivery()
    {
        registerServer();
        server.refusing = true;
        center->start();
        center->scheduleNotification(reminder(at(2024, 1, 10, 9), u"refused"_s));
        moveClockAndFire(at(2024, 1, 10, 9));
        EXPECT_EVENTUALLY_EQ(unshownCount(), 1);
    }

    platform::ScopedClock clock { at(2024, 1, 10, 8) };
    mervane::test::RecordingNotificationServer server;
    std::unique_ptr<QDBusConnection> centerBus;
    std::unique_ptr<QDBusConnection> serverBus;
    std::unique_ptr<UserNotificationCenter> center;
    /// Notifications the service showed and whose answer reached a center (of any run).
    int deliveries = 0;

private:
    static void countUnshown(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (text.startsWith(u"The reminder could not be shown"_s))
            ++s_unshown;
        s_previousHandler(type, context, text);
    }
    static inline int s_counter = 0;
    static inline int s_unshown = 0;
    static inline QtMessageHandler s_previousHandler = nullptr;
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
    EXPECT_EVENTUALLY_EQ(deliveries, 1);
    ASSERT_EQ(server.shown.size(), 1);
    EXPECT_EQ(server.shown.at(0).appName, QCoreApplication::applicationName());
    EXPECT_EQ(server.shown.at(0).summary, u"Mervane"_s);
    EXPECT_EQ(server.shown.at(0).body, u"It is time to log your monthly net worth records."_s);
    EXPECT_TRUE(server.shown.at(0).actions.contains(u"default"_s));
    // The launcher entry "mervane.desktop" and the icon "mervane" of the installed program.
    EXPECT_EQ(server.shown.at(0).hints.value(u"desktop-entry"_s).toString(), u"mervane"_s);
    EXPECT_EQ(server.shown.at(0).appIcon, u"mervane"_s);
    EXPECT_EVENTUALLY_EQ(delivered.count(), 1);
    EXPECT_EQ(delivered.at(0).at(0).toString(), u"monthly"_s);

    // The next falls on the last day of February, then on 31 March again.
    moveClockAndFire(at(2024, 2, 28, 9));
    moveClockAndFire(at(2024, 2, 29, 8));
    EXPECT_EQ(timer()->interval(), UserNotificationCenter::longestWaitMs);
    moveClockAndFire(at(2024, 2, 29, 9));
    EXPECT_EVENTUALLY_EQ(deliveries, 2);
    moveClockAndFire(at(2024, 3, 30, 9));
    moveClockAndFire(at(2024, 3, 31, 8, 30));
    EXPECT_EQ(timer()->interval(), 30 * 60 * 1000);
    moveClockAndFire(at(2024, 3, 31, 9));
    EXPECT_EVENTUALLY_EQ(deliveries, 3);
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
    EXPECT_EVENTUALLY_EQ(deliveries, 1);
    moveClockAndFire(at(2024, 12, 15));
    EXPECT_EVENTUALLY_EQ(deliveries, 2);
    moveClockAndFire(at(2025, 1, 15));
    EXPECT_EVENTUALLY_EQ(deliveries, 3);
    // Fourteen months on, a run that starts late still owes the one reminder missed.
    center.reset();
    platform::Clock::setOverride(at(2026, 1, 20));
    newCenter();
    center->start();
    EXPECT_EVENTUALLY_EQ(deliveries, 4);
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
    newCenter();
    QSignalSpy delivered(center.get(), &UserNotificationCenter::delivered);
    center->start();
    EXPECT_EVENTUALLY_EQ(delivered.count(), 1);
    EXPECT_EQ(server.shown.size(), 1);
    ASSERT_TRUE(timer()->isActive());

    // Started again the same day: nothing is owed any more.
    newCenter();
    center->start();
    settle();
    EXPECT_EQ(server.shown.size(), 1);

    // Neither a reminder whose first time is still to come, nor one scheduled with a time
    // already past: its first delivery is the next monthly one.
    center->scheduleNotification(reminder(at(2024, 3, 1), u"coming"_s));
    center->scheduleNotification(reminder(at(2024, 2, 1), u"past"_s));
    newCenter();
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
    EXPECT_EVENTUALLY_EQ(server.closed, QList<uint> { 102 });
}

TEST_F(UserNotificationsTest, AReminderDueWithoutAServiceIsShownOnceTheServiceAppears)
{
    center->scheduleNotification(reminder(at(2024, 1, 15), u"missed"_s));
    const QDateTime scheduledAt = handledThrough(u"missed"_s);
    center.reset(); // the application quits before the 15th

    // The next start comes before the desktop's notification service is up.
    platform::Clock::setOverride(at(2024, 2, 20));
    restartCenter();
    EXPECT_EVENTUALLY_EQ(unshownCount(), 1);
    EXPECT_TRUE(server.shown.isEmpty());
    EXPECT_EQ(handledThrough(u"missed"_s), scheduledAt);
    // The refused delivery does not wake the timer at once again (it would spin), only at
    // the next look at the clock.
    ASSERT_TRUE(timer()->isActive());
    EXPECT_EQ(timer()->interval(), UserNotificationCenter::longestWaitMs);

    // A later start without the service still owes it.
    restartCenter();
    EXPECT_EVENTUALLY_EQ(unshownCount(), 2);
    EXPECT_EQ(handledThrough(u"missed"_s), scheduledAt);

    // The service comes while the application runs: shown once, and handled from then on.
    platform::Clock::setOverride(at(2024, 2, 20, 10));
    registerServer();
    EXPECT_EVENTUALLY_EQ(deliveries, 1);
    EXPECT_EVENTUALLY_EQ(handledThrough(u"missed"_s), at(2024, 2, 20, 10));
    restartCenter();
    settle();
    EXPECT_EQ(server.shown.size(), 1);
}

TEST_F(UserNotificationsTest, AServiceThatFailsToShowTheReminderIsAskedAgainAtTheNextLookAtTheClock)
{
    refuseTheFirstDelivery();
    EXPECT_EQ(server.refused, 1);
    EXPECT_TRUE(server.shown.isEmpty());
    EXPECT_EQ(handledThrough(u"refused"_s), at(2024, 1, 10, 8));
    EXPECT_EQ(timer()->interval(), UserNotificationCenter::longestWaitMs);

    moveClockAndFire(at(2024, 1, 10, 10));
    EXPECT_EVENTUALLY_EQ(unshownCount(), 2);
    EXPECT_EQ(server.refused, 2);
    EXPECT_EQ(handledThrough(u"refused"_s), at(2024, 1, 10, 8));

    server.refusing = false;
    moveClockAndFire(at(2024, 1, 10, 11));
    EXPECT_EVENTUALLY_EQ(deliveries, 1);
    EXPECT_EVENTUALLY_EQ(handledThrough(u"refused"_s), at(2024, 1, 10, 11));
    // Handled, it waits for the next month.
    moveClockAndFire(at(2024, 1, 10, 12));
    settle();
    EXPECT_EQ(server.shown.size(), 1);
    EXPECT_EQ(server.refused, 2);

    // No bus at all: nothing to call, nothing handled, and the timer goes on.
    platform::Clock::setOverride(at(2024, 2, 10, 9));
    UserNotificationCenter unconnected;
    unconnected.setConnection(QDBusConnection::connectToBus(u"unix:path=/nonexistent/bus"_s, u"nowhere"_s));
    unconnected.start();
    QCoreApplication::processEvents();
    EXPECT_EQ(handledThrough(u"refused"_s), at(2024, 1, 10, 11));
    EXPECT_TRUE(unconnected.findChild<QTimer*>(u"deliveryTimer"_s)->isActive());
    QDBusConnection::disconnectFromBus(u"nowhere"_s);
}

TEST_F(UserNotificationsTest, AReminderTheServiceRefusedIsNotAskedForAgainAtOnceWhenTheScheduleChanges)
{
    refuseTheFirstDelivery();
    ASSERT_EQ(server.refused, 1);

    // Another reminder is scheduled (or one removed) while the refused one is still owed: the
    // timer is armed again, and must not fire at once for the one the service just refused.
    center->scheduleNotification(reminder(at(2024, 1, 20, 9), u"other"_s));
    ASSERT_TRUE(timer()->isActive());
    EXPECT_EQ(timer()->interval(), UserNotificationCenter::longestWaitMs);
    center->removeScheduledNotification(u"other"_s);
    EXPECT_EQ(timer()->interval(), UserNotificationCenter::longestWaitMs);
    // A timer of 0 would have fired here and sent the next Notify before the barrier.
    QCoreApplication::processEvents();
    settle();
    EXPECT_EQ(server.refused, 1);
    EXPECT_EQ(unshownCount(), 1);
}

TEST_F(UserNotificationsTest, AClickOnAReminderShownBeforeARestartReachesTheNewRunAndClosesIt)
{
    registerServer();
    QSignalSpy delivered(center.get(), &UserNotificationCenter::delivered);
    center->start();
    center->scheduleNotification(reminder(at(2024, 1, 10, 9), u"monthly"_s));
    moveClockAndFire(at(2024, 1, 10, 9));
    EXPECT_EVENTUALLY_EQ(delivered.count(), 1); // id 101

    restartCenter();
    QSignalSpy activated(center.get(), &UserNotificationCenter::activated);
    server.click(101);
    EXPECT_EVENTUALLY_EQ(activated.count(), 1);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.at(0).at(0).toString(), u"monthly"_s);
    EXPECT_EVENTUALLY_EQ(server.closed, QList<uint> { 101 });

    // Clicked and closed, it is forgotten: a second click on it is not ours any more.
    moveClockAndFire(at(2024, 2, 10, 9));
    EXPECT_EVENTUALLY_EQ(deliveries, 2); // id 102
    server.click(101);
    server.click(102);
    EXPECT_EVENTUALLY_EQ(activated.count(), 2);
    EXPECT_EVENTUALLY_EQ(server.closed, (QList<uint> { 101, 102 }));
    EXPECT_EQ(activated.count(), 2);

    // A service that goes away takes its notifications with it: one that comes later and
    // happens to number its own from 101 too does not reach Mervane with them.
    moveClockAndFire(at(2024, 3, 10, 9));
    EXPECT_EVENTUALLY_EQ(deliveries, 3); // id 103
    EXPECT_EVENTUALLY(
        !platform::UserDefaults::standard().list(UserNotificationCenter::shownNotificationsKey).isEmpty());
    ASSERT_TRUE(serverBus->unregisterService(u"org.freedesktop.Notifications"_s));
    EXPECT_EVENTUALLY(
        !platform::UserDefaults::standard().contains(UserNotificationCenter::shownNotificationsKey));
}

} // namespace
