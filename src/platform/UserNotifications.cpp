#include "platform/UserNotifications.h"

#include "platform/Clock.h"
#include "platform/Strings.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>
#include <QUuid>

#include <algorithm>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace platform {

namespace {

const QString kService = u"org.freedesktop.Notifications"_s;
const QString kPath = u"/org/freedesktop/Notifications"_s;
const QString kInterface = u"org.freedesktop.Notifications"_s;
const QString kDefaultAction = u"default"_s;

const QString kIdentifier = u"identifier"_s;
const QString kTitle = u"title"_s;
const QString kInformativeText = u"informativeText"_s;
const QString kDeliveryDate = u"deliveryDate"_s;
/// Deliveries up to this moment are done (shown, or owed to no one).
const QString kHandledThrough = u"handledThrough"_s;

struct Entry {
    UserNotification notification;
    QDateTime handledThrough;
};

QList<Entry> readEntries()
{
    QList<Entry> entries;
    const QVariantList stored
        = UserDefaults::standard().list(UserNotificationCenter::scheduledNotificationsKey);
    for (const QVariant& value : stored) {
        const QVariantMap map = value.toMap();
        Entry entry;
        entry.notification.identifier = map.value(kIdentifier).toString();
        entry.notification.title = map.value(kTitle).toString();
        entry.notification.informativeText = map.value(kInformativeText).toString();
        entry.notification.deliveryDate = map.value(kDeliveryDate).toDateTime();
        entry.handledThrough = map.value(kHandledThrough).toDateTime();
        if (!entry.notification.identifier.isEmpty() && entry.notification.deliveryDate.isValid())
            entries.append(entry);
    }
    return entries;
}

void writeEntries(QList<Entry> entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.notification.deliveryDate < b.notification.deliveryDate;
    });
    QVariantList stored;
    for (const Entry& entry : entries) {
        QVariantMap map {
            { kIdentifier, entry.notification.identifier },
            { kTitle, entry.notification.title },
            { kInformativeText, entry.notification.informativeText },
            { kDeliveryDate, entry.notification.deliveryDate },
        };
        if (entry.handledThrough.isValid())
            map.insert(kHandledThrough, entry.handledThrough);
        stored.append(map);
    }
    UserDefaults& defaults = UserDefaults::standard();
    if (stored.isEmpty())
        defaults.remove(UserNotificationCenter::scheduledNotificationsKey);
    else
        defaults.setValue(UserNotificationCenter::scheduledNotificationsKey, stored);
    defaults.synchronize();
}

/// How many whole months after `anchor` the last delivery at or before `moment` falls;
/// -1 when the first delivery is still to come.
int lastDeliveryIndex(const QDateTime& anchor, const QDateTime& moment)
{
    if (moment < anchor)
        return -1;
    const QDate from = anchor.date();
    const QDate to = moment.date();
    int months = (to.year() - from.year()) * 12 + (to.month() - from.month());
    while (months > 0 && UserNotificationCenter::monthlyDelivery(anchor, months) > moment)
        --months;
    return months;
}

/// The first delivery after `moment`.
QDateTime nextDeliveryAfter(const QDateTime& anchor, const QDateTime& moment)
{
    return UserNotificationCenter::monthlyDelivery(anchor, lastDeliveryIndex(anchor, moment) + 1);
}

} // namespace

UserNotificationCenter::UserNotificationCenter(QObject* parent) : QObject(parent), m_timer(new QTimer(this))
{
    m_timer->setObjectName(u"deliveryTimer"_s);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        deliverDue();
        arm();
    });
}

UserNotificationCenter::~UserNotificationCenter() = default;

UserNotificationCenter& UserNotificationCenter::defaultCenter()
{
    static UserNotificationCenter* center = new UserNotificationCenter(QCoreApplication::instance());
    return *center;
}

QDateTime UserNotificationCenter::monthlyDelivery(const QDateTime& anchor, int months)
{
    // From the anchor every time, so a clamped day never carries into the months after.
    return anchor.addMonths(months);
}

QList<UserNotification> UserNotificationCenter::scheduledNotifications() const
{
    QList<UserNotification> result;
    for (const Entry& entry : readEntries())
        result.append(entry.notification);
    std::stable_sort(result.begin(), result.end(),
        [](const UserNotification& a, const UserNotification& b) { return a.deliveryDate < b.deliveryDate; });
    return result;
}

void UserNotificationCenter::scheduleNotification(const UserNotification& notification)
{
    Entry entry { notification, Clock::now() };
    if (entry.notification.identifier.isEmpty())
        entry.notification.identifier = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QList<Entry> entries = readEntries();
    entries.removeIf(
        [&](const Entry& e) { return e.notification.identifier == entry.notification.identifier; });
    entries.append(entry);
    writeEntries(entries);
    if (m_started)
        arm();
}

void UserNotificationCenter::removeScheduledNotification(const QString& identifier)
{
    QList<Entry> entries = readEntries();
    if (entries.removeIf([&](const Entry& e) { return e.notification.identifier == identifier; }) == 0)
        return;
    writeEntries(entries);
    if (m_started)
        arm();
}

void UserNotificationCenter::start()
{
    m_started = true;
    deliverDue();
    arm();
}

void UserNotificationCenter::setConnection(const QDBusConnection& connection)
{
    if (m_connection) {
        m_connection->disconnect(
            kService, kPath, kInterface, u"ActionInvoked"_s, this, SLOT(actionInvoked(uint, QString)));
        m_connection->disconnect(
            kService, kPath, kInterface, u"NotificationClosed"_s, this, SLOT(notificationClosed(uint, uint)));
    }
    m_shown.clear();
    m_connection = connection;
    listenTo(*m_connection);
}

QDBusConnection& UserNotificationCenter::connection()
{
    if (!m_connection) {
        m_connection = QDBusConnection::sessionBus();
        listenTo(*m_connection);
    }
    return *m_connection;
}

void UserNotificationCenter::listenTo(QDBusConnection& connection)
{
    if (!connection.isConnected())
        return;
    connection.connect(
        kService, kPath, kInterface, u"ActionInvoked"_s, this, SLOT(actionInvoked(uint, QString)));
    connection.connect(
        kService, kPath, kInterface, u"NotificationClosed"_s, this, SLOT(notificationClosed(uint, uint)));
}

void UserNotificationCenter::deliverDue()
{
    const QDateTime now = Clock::now();
    QList<Entry> entries = readEntries();
    bool changed = false;
    for (Entry& entry : entries) {
        const int last = lastDeliveryIndex(entry.notification.deliveryDate, now);
        if (last < 0)
            continue;
        const QDateTime due = monthlyDelivery(entry.notification.deliveryDate, last);
        if (entry.handledThrough.isValid() && due <= entry.handledThrough)
            continue;
        // However many deliveries were missed, one is shown.
        show(entry.notification);
        entry.handledThrough = now;
        changed = true;
    }
    if (changed)
        writeEntries(entries);
}

void UserNotificationCenter::arm()
{
    const QDateTime now = Clock::now();
    std::optional<qint64> wait;
    for (const Entry& entry : readEntries()) {
        // From the last handled moment, so a delivery that fell due meanwhile fires at once.
        const QDateTime from = entry.handledThrough.isValid() ? entry.handledThrough : now;
        const QDateTime next = nextDeliveryAfter(entry.notification.deliveryDate, from);
        const qint64 ms = std::max<qint64>(0, now.msecsTo(next));
        wait = wait ? std::min(*wait, ms) : ms;
    }
    if (!wait) {
        m_timer->stop();
        return;
    }
    m_timer->start(int(std::min<qint64>(*wait, longestWaitMs)));
}

void UserNotificationCenter::show(const UserNotification& notification)
{
    QDBusConnection& bus = connection();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, u"Notify"_s);
    const QString appName = QCoreApplication::applicationName();
    call << appName << uint(0) << appName.toLower() << notification.title << notification.informativeText
         << QStringList { kDefaultAction, Strings::tr("Open") }
         << QVariantMap { { u"desktop-entry"_s, appName.toLower() } } << int(-1);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, callTimeoutMs), this);
    const QString identifier = notification.identifier;
    connect(
        watcher, &QDBusPendingCallWatcher::finished, this, [this, identifier](QDBusPendingCallWatcher* call) {
            call->deleteLater();
            const QDBusPendingReply<uint> reply = *call;
            // No service, or one that did not answer: the reminder is not shown, and nothing else happens.
            if (reply.isError())
                return;
            m_shown.insert(reply.value(), identifier);
            Q_EMIT delivered(identifier);
        });
}

void UserNotificationCenter::actionInvoked(uint id, const QString& actionKey)
{
    if (actionKey != kDefaultAction)
        return;
    const auto it = m_shown.constFind(id);
    if (it != m_shown.constEnd())
        Q_EMIT activated(*it);
}

void UserNotificationCenter::notificationClosed(uint id, uint reason)
{
    Q_UNUSED(reason)
    m_shown.remove(id);
}

} // namespace platform
