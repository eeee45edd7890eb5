#include "platform/UserNotifications.h"

#include "platform/Clock.h"
#include "platform/Strings.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
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
const QString kServiceKey = u"service"_s;
const QString kIdKey = u"id"_s;

struct Entry {
    UserNotification notification;
    QDateTime handledThrough;
};

/// A notification the service shows for us: `service` is the bus name of the one that
/// answered, `id` its number for it (numbers count per service, so both are kept).
struct Shown {
    QString identifier;
    QString service;
    uint id = 0;
};

/// The settings file is input like any other: a moment outside the years 1 to 9999 is
/// taken as absent, which also keeps the month counts below within an int.
QDateTime saneMoment(const QVariant& value)
{
    const QDateTime moment = value.toDateTime();
    if (!moment.isValid() || moment.date().year() < 1 || moment.date().year() > 9999)
        return {};
    return moment;
}

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
        entry.notification.deliveryDate = saneMoment(map.value(kDeliveryDate));
        entry.handledThrough = saneMoment(map.value(kHandledThrough));
        if (!entry.notification.identifier.isEmpty() && entry.notification.deliveryDate.isValid())
            entries.append(entry);
    }
    return entries;
}

/// Stores `value` under `key`, or removes the key when it is empty.
void writeList(const QString& key, const QVariantList& value)
{
    UserDefaults& defaults = UserDefaults::standard();
    if (value.isEmpty())
        defaults.remove(key);
    else
        defaults.setValue(key, value);
    defaults.synchronize();
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
    writeList(UserNotificationCenter::scheduledNotificationsKey, stored);
}

QList<Shown> readShown()
{
    QList<Shown> shown;
    const QVariantList stored = UserDefaults::standard().list(UserNotificationCenter::shownNotificationsKey);
    for (const QVariant& value : stored) {
        const QVariantMap map = value.toMap();
        bool isNumber = false;
        const qlonglong id = map.value(kIdKey).toLongLong(&isNumber);
        Shown record { map.value(kIdentifier).toString(), map.value(kServiceKey).toString(), uint(id) };
        if (isNumber && id > 0 && id <= std::numeric_limits<uint>::max() && !record.identifier.isEmpty()
            && !record.service.isEmpty())
            shown.append(record);
    }
    return shown;
}

void writeShown(QList<Shown> shown)
{
    if (shown.size() > UserNotificationCenter::shownNotificationsKept)
        shown.remove(0, shown.size() - UserNotificationCenter::shownNotificationsKept);
    QVariantList stored;
    for (const Shown& record : shown)
        stored.append(QVariantMap { { kIdentifier, record.identifier }, { kServiceKey, record.service },
            { kIdKey, qlonglong(record.id) } });
    writeList(UserNotificationCenter::shownNotificationsKey, stored);
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
    QDBusConnection& bus = connection();
    if (bus.isConnected()) {
        // Notifications shown by an earlier run count only while the service that showed them
        // is still the one on the bus.
        QDBusMessage ask = QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_s,
            u"/org/freedesktop/DBus"_s, u"org.freedesktop.DBus"_s, u"GetNameOwner"_s);
        ask << kService;
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(ask, callTimeoutMs), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
            call->deleteLater();
            const QDBusPendingReply<QString> owner = *call;
            keepShownOf(owner.isError() ? QString() : owner.value());
        });
    }
    deliverDue();
    arm();
}

void UserNotificationCenter::setConnection(const QDBusConnection& connection)
{
    stopListening();
    m_calling.clear();
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
    m_watcher = new QDBusServiceWatcher(kService, connection, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
        [this](const QString&, const QString&, const QString& owner) { serviceOwnerChanged(owner); });
}

void UserNotificationCenter::stopListening()
{
    delete m_watcher;
    m_watcher = nullptr;
    if (!m_connection)
        return;
    m_connection->disconnect(
        kService, kPath, kInterface, u"ActionInvoked"_s, this, SLOT(actionInvoked(uint, QString)));
    m_connection->disconnect(
        kService, kPath, kInterface, u"NotificationClosed"_s, this, SLOT(notificationClosed(uint, uint)));
}

void UserNotificationCenter::serviceOwnerChanged(const QString& owner)
{
    // A service that went away took its notifications with it.
    keepShownOf(owner);
    if (owner.isEmpty() || !m_started)
        return;
    // A service has come (a desktop whose notification service starts after us): what could
    // not be shown so far is shown now.
    deliverDue();
    arm();
}

void UserNotificationCenter::deliverDue()
{
    const QDateTime now = Clock::now();
    for (const Entry& entry : readEntries()) {
        if (m_calling.contains(entry.notification.identifier))
            continue;
        const int last = lastDeliveryIndex(entry.notification.deliveryDate, now);
        if (last < 0)
            continue;
        const QDateTime due = monthlyDelivery(entry.notification.deliveryDate, last);
        if (entry.handledThrough.isValid() && due <= entry.handledThrough)
            continue;
        // However many deliveries were missed, one is shown; they count as handled once it is.
        show(entry.notification, now);
    }
}

void UserNotificationCenter::arm()
{
    const QDateTime now = Clock::now();
    std::optional<qint64> wait;
    for (const Entry& entry : readEntries()) {
        const QString& identifier = entry.notification.identifier;
        // From the last handled moment, so a delivery that fell due meanwhile fires at once;
        // one already tried waits for the next look at the clock.
        const bool tried = m_calling.contains(identifier) || m_unshown.contains(identifier);
        const QDateTime from = entry.handledThrough.isValid() && !tried ? entry.handledThrough : now;
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

void UserNotificationCenter::show(const UserNotification& notification, const QDateTime& handledAt)
{
    const QString identifier = notification.identifier;
    QDBusConnection& bus = connection();
    if (!bus.isConnected()) {
        m_unshown.insert(identifier);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, u"Notify"_s);
    const QString appName = QCoreApplication::applicationName();
    // The desktop entry is the launcher file's name without ".desktop": with it a desktop can
    // start Mervane from a click while it is not running.
    call << appName << uint(0) << appName.toLower() << notification.title << notification.informativeText
         << QStringList { kDefaultAction, Strings::tr("Open") }
         << QVariantMap { { u"desktop-entry"_s, appName.toLower() } } << int(-1);
    m_calling.insert(identifier);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, identifier, handledAt](QDBusPendingCallWatcher* call) {
            call->deleteLater();
            m_calling.remove(identifier);
            const QDBusPendingReply<uint> reply = *call;
            if (reply.isError()) {
                // No service, or one that did not answer: the delivery stays due.
                m_unshown.insert(identifier);
                qInfo("The reminder could not be shown (%s); it is shown once the notification service "
                      "answers.",
                    qPrintable(reply.error().message()));
                return;
            }
            shownBy(identifier, handledAt, reply.reply().service(), reply.value());
        });
}

void UserNotificationCenter::shownBy(
    const QString& identifier, const QDateTime& handledAt, const QString& service, uint id)
{
    m_unshown.remove(identifier);
    QList<Entry> entries = readEntries();
    for (Entry& entry : entries) {
        // Moved meanwhile (scheduled anew), it was handled from then on.
        if (entry.notification.identifier != identifier
            || (entry.handledThrough.isValid() && entry.handledThrough >= handledAt))
            continue;
        entry.handledThrough = handledAt;
        writeEntries(entries);
        break;
    }
    QList<Shown> shown = readShown();
    shown.append({ identifier, service, id });
    writeShown(shown);
    if (m_started)
        arm();
    Q_EMIT delivered(identifier);
}

void UserNotificationCenter::keepShownOf(const QString& owner)
{
    QList<Shown> shown = readShown();
    if (shown.removeIf([&](const Shown& record) { return record.service != owner; }) > 0)
        writeShown(shown);
}

void UserNotificationCenter::actionInvoked(uint id, const QString& actionKey)
{
    if (actionKey != kDefaultAction || !calledFromDBus())
        return;
    const QString service = message().service();
    QList<Shown> shown = readShown();
    const auto it = std::find_if(shown.cbegin(), shown.cend(),
        [&](const Shown& record) { return record.id == id && record.service == service; });
    if (it == shown.cend())
        return; // someone else's notification
    const QString identifier = it->identifier;
    shown.erase(it);
    writeShown(shown);
    // Clicked, it leaves the list of notifications, also where the service keeps it there.
    connection().send(
        QDBusMessage::createMethodCall(service, kPath, kInterface, u"CloseNotification"_s) << id);
    Q_EMIT activated(identifier);
}

void UserNotificationCenter::notificationClosed(uint id, uint reason)
{
    Q_UNUSED(reason)
    if (!calledFromDBus())
        return;
    const QString service = message().service();
    QList<Shown> shown = readShown();
    if (shown.removeIf([&](const Shown& record) { return record.id == id && record.service == service; }) > 0)
        writeShown(shown);
}

} // namespace platform
