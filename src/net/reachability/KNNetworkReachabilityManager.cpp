#include "net/reachability/KNNetworkReachabilityManager.h"

#include "platform/NotificationCenter.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

namespace {

constexpr const char* kStringsTable = "KitNet";

const char* const kUnknownText = QT_TRANSLATE_NOOP("KitNet", "Unknown");
const char* const kNotReachableText = QT_TRANSLATE_NOOP("KitNet", "Not Reachable");
const char* const kWWANText = QT_TRANSLATE_NOOP("KitNet", "Reachable via WWAN");
const char* const kWiFiText = QT_TRANSLATE_NOOP("KitNet", "Reachable via WiFi");

// The initial query waits behind every other job of the pool.
constexpr int kLowestPriority = -1;

} // namespace

QString KNReachabilityStatusText(qint64 status)
{
    const char* text = kUnknownText;
    switch (status) {
    case 0:
        text = kNotReachableText;
        break;
    case 1:
        text = kWWANText;
        break;
    case 2:
        text = kWiFiText;
        break;
    default:
        break;
    }
    return QCoreApplication::translate(kStringsTable, text);
}

std::shared_ptr<KNNetworkReachabilityManager> KNNetworkReachabilityManager::sharedManager()
{
    // Never destroyed: it may outlive the event loop, and the managers that hold it.
    static const auto* shared = new std::shared_ptr<KNNetworkReachabilityManager>(
        managerForAddress(QHostAddress(QHostAddress::AnyIPv4)));
    return *shared;
}

std::shared_ptr<KNNetworkReachabilityManager> KNNetworkReachabilityManager::managerForDomain(
    const QString& domain)
{
    return std::make_shared<KNNetworkReachabilityManager>(net::NetworkReachability::forHostName(domain));
}

std::shared_ptr<KNNetworkReachabilityManager> KNNetworkReachabilityManager::managerForAddress(
    const QHostAddress& address)
{
    return std::make_shared<KNNetworkReachabilityManager>(net::NetworkReachability::forAddress(address));
}

KNNetworkReachabilityManager::KNNetworkReachabilityManager(
    std::unique_ptr<net::NetworkReachability> reachability)
    : m_networkReachability(std::move(reachability))
{
    if (m_networkReachability && m_networkReachability->isHostName())
        m_networkReachabilityAssociation = Association::HostName;
    if (QCoreApplication* app = QCoreApplication::instance(); app && thread() != app->thread())
        moveToThread(app->thread());
}

KNNetworkReachabilityManager::~KNNetworkReachabilityManager()
{
    stopMonitoring();
}

KNNetworkReachabilityStatus KNNetworkReachabilityManager::statusForFlags(net::ReachabilityFlags flags)
{
    using net::ReachabilityFlag;
    if (!flags.testFlag(ReachabilityFlag::Reachable))
        return KNNetworkReachabilityStatus::NotReachable;
    if (flags.testFlag(ReachabilityFlag::ConnectionRequired)) {
        const bool automatic = flags.testFlag(ReachabilityFlag::ConnectionOnTraffic)
            || flags.testFlag(ReachabilityFlag::ConnectionOnDemand);
        if (!automatic || flags.testFlag(ReachabilityFlag::InterventionRequired))
            return KNNetworkReachabilityStatus::NotReachable;
    }
    return KNNetworkReachabilityStatus::ReachableViaWiFi;
}

bool KNNetworkReachabilityManager::isReachable() const
{
    return isReachableViaWWAN() || isReachableViaWiFi();
}

bool KNNetworkReachabilityManager::isReachableViaWWAN() const
{
    return m_networkReachabilityStatus == KNNetworkReachabilityStatus::ReachableViaWWAN;
}

bool KNNetworkReachabilityManager::isReachableViaWiFi() const
{
    return m_networkReachabilityStatus == KNNetworkReachabilityStatus::ReachableViaWiFi;
}

QString KNNetworkReachabilityManager::localizedNetworkReachabilityStatusString() const
{
    return KNReachabilityStatusText(static_cast<qint64>(m_networkReachabilityStatus));
}

void KNNetworkReachabilityManager::setReachabilityStatusChangeBlock(StatusBlock block)
{
    m_networkReachabilityStatusBlock = std::move(block);
}

void KNNetworkReachabilityManager::startMonitoring()
{
    stopMonitoring();
    if (!m_networkReachability)
        return;
    disconnect(m_callback);
    m_callback = connect(m_networkReachability.get(), &net::NetworkReachability::flagsChanged, this,
        &KNNetworkReachabilityManager::report);
    m_networkReachability->schedule();
    if (m_networkReachabilityAssociation == Association::HostName)
        return;

    // The network information is read here, on the main thread; the route on a worker.
    const net::NetworkState state = net::NetworkReachability::currentNetworkState();
    const QHostAddress address = m_networkReachability->address();
    QPointer<KNNetworkReachabilityManager> manager(this);
    QThreadPool::globalInstance()->start(
        [state, address, manager] {
            const net::ReachabilityFlags flags
                = net::reachabilityFlags(state, net::routeExists(address), address.isLoopback());
            // The manager may die meanwhile: it is looked at on the main thread only.
            QMetaObject::invokeMethod(
                qApp,
                [manager, flags] {
                    if (manager)
                        manager->report(flags);
                },
                Qt::QueuedConnection);
        },
        kLowestPriority);
}

void KNNetworkReachabilityManager::stopMonitoring()
{
    if (m_networkReachability)
        m_networkReachability->unschedule();
}

void KNNetworkReachabilityManager::report(net::ReachabilityFlags flags)
{
    const KNNetworkReachabilityStatus status = statusForFlags(flags);
    m_networkReachabilityStatus = status;
    if (m_networkReachabilityStatusBlock)
        m_networkReachabilityStatusBlock(status);
    Q_EMIT networkReachabilityStatusChanged(status);
    platform::NotificationCenter::defaultCenter().post(notifications::reachabilityDidChange, QVariant(),
        { { notifications::reachabilityNotificationStatusItem,
            QVariant::fromValue(static_cast<qint64>(status)) } });
}
