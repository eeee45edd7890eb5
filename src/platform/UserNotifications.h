#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <optional>

class QDBusServiceWatcher;
class QTimer;

namespace platform {

struct UserNotification {
    QString identifier; // made by scheduleNotification when empty
    QString title;
    QString informativeText;
    QDateTime deliveryDate; // the first delivery; it repeats every whole month from there
};

/// Notifications the application schedules for itself and shows through the desktop's
/// notification service (org.freedesktop.Notifications on the session bus). A scheduled
/// notification repeats every whole month from its first delivery while the application
/// runs; one whose time passed while it was not running is shown once at start.
///
/// A delivery is done only once the service has shown it (its Notify call answered with an
/// id). Until then it stays due: it is tried again when the service appears on the bus,
/// at every look at the clock (at least hourly) and at the next start.
class UserNotificationCenter : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    /// User default: the scheduled notifications with the moment each was last handled.
    static inline const QString scheduledNotificationsKey = QStringLiteral("ScheduledUserNotifications");
    /// User default: the notifications the service shows for us (its bus name and its id for
    /// each), kept across runs so that a click on one shown by an earlier run still counts.
    static inline const QString shownNotificationsKey = QStringLiteral("ShownUserNotifications");
    /// The most shown notifications kept; the oldest go first.
    static constexpr int shownNotificationsKept = 16;
    /// Longest wait between two looks at the clock: timers run on the monotonic clock, which
    /// stands still while the machine sleeps and ignores changes of the wall clock.
    static constexpr int longestWaitMs = 60 * 60 * 1000;
    /// How long a call to the notification service may take before it counts as failed.
    static constexpr int callTimeoutMs = 3000;

    explicit UserNotificationCenter(QObject* parent = nullptr);
    ~UserNotificationCenter() override;

    static UserNotificationCenter& defaultCenter();

    /// `anchor` plus `months` whole months at the same time of day; a day the month does not
    /// have becomes its last day (31 January, then 28 or 29 February, then 31 March).
    static QDateTime monthlyDelivery(const QDateTime& anchor, int months);

    /// Kept across runs in the user defaults (key "ScheduledUserNotifications"), earliest first.
    QList<UserNotification> scheduledNotifications() const;
    /// Replaces a scheduled notification of the same identifier. Deliveries before now are
    /// not owed: the first one shown is the first after now.
    void scheduleNotification(const UserNotification& notification);
    void removeScheduledNotification(const QString& identifier);
    /// Called once at start: delivers once a notification whose time passed while the
    /// application was not running (or was not shown then), then arms a timer for the next
    /// delivery (anchor + whole months, days clamped to the month's end; times by
    /// platform::Clock so tests can move it).
    void start();
    /// For tests: the session bus connection to use (default: QDBusConnection::sessionBus()).
    void setConnection(const QDBusConnection& connection);

Q_SIGNALS:
    void delivered(const QString& identifier);
    /// The user clicked a notification shown in this run or an earlier one; the notification
    /// has been asked to close.
    void activated(const QString& identifier);

private Q_SLOTS:
    // QtDBus connects signals of the bus by signature only, so these are slots.
    void actionInvoked(uint id, const QString& actionKey);
    void notificationClosed(uint id, uint reason);

private:
    /// Shows every notification with a delivery between when it was last handled and now,
    /// except those whose call is still on its way.
    void deliverDue();
    /// Arms the timer for the earliest coming delivery (no timer without notifications).
    void arm();
    void show(const UserNotification& notification, const QDateTime& handledAt);
    void shownBy(const QString& identifier, const QDateTime& handledAt, const QString& service, uint id);
    /// Forgets the shown notifications of every service but `owner` (all when it is empty).
    void keepShownOf(const QString& owner);
    void serviceOwnerChanged(const QString& owner);
    QDBusConnection& connection();
    void listenTo(QDBusConnection& connection);
    void stopListening();

    QTimer* m_timer;
    QDBusServiceWatcher* m_watcher = nullptr;
    std::optional<QDBusConnection> m_connection;
    bool m_started = false;
    /// Notifications whose Notify call is on its way.
    QSet<QString> m_calling;
    /// Notifications tried in this run and not shown: their due delivery no longer wakes
    /// the timer at once, or it would spin while the service is away.
    QSet<QString> m_unshown;
};

} // namespace platform
