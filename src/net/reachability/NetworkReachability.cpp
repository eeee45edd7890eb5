#include "net/reachability/NetworkReachability.h"

#include <QCoreApplication>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace net {

ReachabilityFlags reachabilityFlags(const NetworkState& state, bool routeExists, bool targetIsLoopback)
{
    if (!routeExists)
        return {};
    if (targetIsLoopback)
        return ReachabilityFlag::Reachable;
    if (state.hasBackend && state.reachability == QNetworkInformation::Reachability::Disconnected)
        return {};
    ReachabilityFlags flags = ReachabilityFlag::Reachable;
    if (state.behindCaptivePortal)
        flags |= ReachabilityFlags(ReachabilityFlag::ConnectionRequired)
            | ReachabilityFlag::InterventionRequired;
    if (state.transportMedium == QNetworkInformation::TransportMedium::Cellular)
        flags |= ReachabilityFlag::IsWWAN;
    return flags;
}

namespace {

bool isAnyAddress(const QHostAddress& address)
{
    return address == QHostAddress(QHostAddress::AnyIPv4) || address == QHostAddress(QHostAddress::AnyIPv6);
}

bool anyInterfaceUp()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces) {
        const auto flags = interface.flags();
        if (flags.testFlag(QNetworkInterface::IsLoopBack) || !flags.testFlag(QNetworkInterface::IsUp)
            || !flags.testFlag(QNetworkInterface::IsRunning))
            continue;
        if (!interface.addressEntries().isEmpty())
            return true;
    }
    return false;
}

bool kernelRoutes(const QHostAddress& address)
{
    sockaddr_storage storage {};
    socklen_t length = 0;
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4) {
        auto* in = reinterpret_cast<sockaddr_in*>(&storage);
        in->sin_family = AF_INET;
        in->sin_port = htons(9);
        in->sin_addr.s_addr = htonl(v4);
        length = sizeof(sockaddr_in);
    } else if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        auto* in6 = reinterpret_cast<sockaddr_in6*>(&storage);
        in6->sin6_family = AF_INET6;
        in6->sin6_port = htons(9);
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        std::memcpy(&in6->sin6_addr, bytes.c, sizeof(bytes.c));
        in6->sin6_scope_id = address.scopeId().toUInt();
        length = sizeof(sockaddr_in6);
    } else {
        return false;
    }
    const int fd = ::socket(storage.ss_family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // Connecting a datagram socket only looks the route up; no packet leaves.
    const bool routed = ::connect(fd, reinterpret_cast<const sockaddr*>(&storage), length) == 0;
    ::close(fd);
    return routed;
}

void resolveWithHostInfo(
    const QString& hostName, QObject* context, std::function<void(const QList<QHostAddress>&)> done)
{
    QHostInfo::lookupHost(hostName, context, [done = std::move(done)](const QHostInfo& info) {
        done(info.error() == QHostInfo::NoError ? info.addresses() : QList<QHostAddress> {});
    });
}

} // namespace

bool routeExists(const QHostAddress& address)
{
    if (address.isNull())
        return false;
    return isAnyAddress(address) ? anyInterfaceUp() : kernelRoutes(address);
}

NetworkReachability::NetworkReachability(QHostAddress address, QString hostName, Resolver resolver)
    : m_address(std::move(address))
    , m_hostName(std::move(hostName))
    , m_resolver(resolver ? std::move(resolver) : Resolver(resolveWithHostInfo))
{
    if (QCoreApplication* app = QCoreApplication::instance(); app && thread() != app->thread())
        moveToThread(app->thread());
}

NetworkReachability::~NetworkReachability()
{
    unschedule();
}

std::unique_ptr<NetworkReachability> NetworkReachability::forAddress(const QHostAddress& address)
{
    return std::unique_ptr<NetworkReachability>(new NetworkReachability(address, QString(), {}));
}

std::unique_ptr<NetworkReachability> NetworkReachability::forHostName(
    const QString& hostName, Resolver resolver)
{
    // A null name would read as an address target.
    const QString name = hostName.isNull() ? QStringLiteral("") : hostName;
    return std::unique_ptr<NetworkReachability>(
        new NetworkReachability(QHostAddress(), name, std::move(resolver)));
}

NetworkState NetworkReachability::currentNetworkState()
{
    static const bool loaded = QNetworkInformation::loadDefaultBackend();
    NetworkState state;
    QNetworkInformation* information = loaded ? QNetworkInformation::instance() : nullptr;
    if (!information)
        return state;
    state.hasBackend = true;
    state.reachability = information->reachability();
    state.transportMedium = information->transportMedium();
    state.behindCaptivePortal = information->isBehindCaptivePortal();
    return state;
}

ReachabilityFlags NetworkReachability::addressFlags(const NetworkState& state) const
{
    return reachabilityFlags(state, routeExists(m_address), m_address.isLoopback());
}

void NetworkReachability::schedule()
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    currentNetworkState();
    if (QNetworkInformation* information = QNetworkInformation::instance()) {
        m_reachabilityConnection = connect(information, &QNetworkInformation::reachabilityChanged, this,
            &NetworkReachability::networkChanged);
        m_mediumConnection = connect(information, &QNetworkInformation::transportMediumChanged, this,
            &NetworkReachability::networkChanged);
        m_portalConnection = connect(information, &QNetworkInformation::isBehindCaptivePortalChanged, this,
            &NetworkReachability::networkChanged);
    }
    if (isHostName())
        resolve();
}

void NetworkReachability::unschedule()
{
    if (!m_scheduled)
        return;
    m_scheduled = false;
    ++m_resolution;
    disconnect(m_reachabilityConnection);
    disconnect(m_mediumConnection);
    disconnect(m_portalConnection);
}

void NetworkReachability::networkChanged()
{
    if (isHostName())
        resolve();
    else
        Q_EMIT flagsChanged(addressFlags(currentNetworkState()));
}

void NetworkReachability::resolve()
{
    const quint64 resolution = ++m_resolution;
    m_resolver(m_hostName, this, [this, resolution](const QList<QHostAddress>& addresses) {
        if (resolution != m_resolution || !m_scheduled)
            return;
        const NetworkState state = currentNetworkState();
        ReachabilityFlags flags;
        for (const QHostAddress& address : addresses) {
            flags = reachabilityFlags(state, routeExists(address), address.isLoopback());
            if (flags.testFlag(ReachabilityFlag::Reachable))
                break;
        }
        Q_EMIT flagsChanged(flags);
    });
}

} // namespace net
