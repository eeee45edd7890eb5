#pragma once

#include <QFlags>
#include <QHostAddress>
#include <QList>
#include <QNetworkInformation>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace net {

/// The bits a reachability reference reports, with the values the manager's status rule
/// reads. `IsWWAN` marks a cellular link; the status rule ignores it.
enum class ReachabilityFlag : quint32 {
    Reachable = 1u << 1,
    ConnectionRequired = 1u << 2,
    ConnectionOnTraffic = 1u << 3,
    InterventionRequired = 1u << 4,
    ConnectionOnDemand = 1u << 5,
    IsWWAN = 1u << 18,
};
Q_DECLARE_FLAGS(ReachabilityFlags, ReachabilityFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(ReachabilityFlags)

/// What the system's network information says. Without a backend every field stays unknown.
struct NetworkState {
    bool hasBackend = false;
    QNetworkInformation::Reachability reachability = QNetworkInformation::Reachability::Unknown;
    QNetworkInformation::TransportMedium transportMedium = QNetworkInformation::TransportMedium::Unknown;
    bool behindCaptivePortal = false;
};

/// The flags for a target, from the system's state and whether the kernel can route to the
/// target. A route is the evidence that makes a target reachable: the network information
/// can only take that away (disconnected: except for loopback targets) or qualify it (a
/// captive portal needs the user before traffic passes; a cellular medium).
ReachabilityFlags reachabilityFlags(const NetworkState& state, bool routeExists, bool targetIsLoopback);

/// Whether the kernel has a route to `address` (a UDP socket connected to it: nothing is
/// sent). For the "any" addresses: whether an interface other than loopback is up with an
/// address. Blocks briefly; safe on any thread.
bool routeExists(const QHostAddress& address);

/// Watches one target, an address or a host name. Lives on the main thread. Change events
/// come from the system's network information (the best backend Qt has here); a host name
/// is resolved when watching starts and again on each change, and is reported not
/// reachable when no address resolves. Without a backend there are no change events: an
/// address is then judged by its route alone, once, when asked.
class NetworkReachability : public QObject {
    Q_OBJECT
public:
    /// Resolves `hostName` and calls `done` with its addresses (none when it does not
    /// resolve) on the main thread, unless `context` is gone by then.
    using Resolver = std::function<void(
        const QString& hostName, QObject* context, std::function<void(const QList<QHostAddress>&)> done)>;

    static std::unique_ptr<NetworkReachability> forAddress(const QHostAddress& address);
    /// `resolver` defaults to QHostInfo.
    static std::unique_ptr<NetworkReachability> forHostName(const QString& hostName, Resolver resolver = {});
    ~NetworkReachability() override;

    bool isHostName() const { return !m_hostName.isNull(); }
    const QString& hostName() const { return m_hostName; }
    const QHostAddress& address() const { return m_address; }

    /// The system's state now; loads the network information backend on first call. Main
    /// thread only.
    static NetworkState currentNetworkState();
    /// The flags of an address target under `state`; any thread.
    ReachabilityFlags addressFlags(const NetworkState& state) const;

    /// Starts following changes (and, for a host name, resolves it now); `flagsChanged`
    /// reports each outcome. Main thread.
    void schedule();
    void unschedule();
    bool isScheduled() const { return m_scheduled; }

Q_SIGNALS:
    void flagsChanged(net::ReachabilityFlags flags);

private:
    NetworkReachability(QHostAddress address, QString hostName, Resolver resolver);
    void networkChanged();
    void resolve();

    QHostAddress m_address;
    QString m_hostName;
    Resolver m_resolver;
    bool m_scheduled = false;
    quint64 m_resolution = 0; // answers of an earlier resolution are dropped
    QMetaObject::Connection m_reachabilityConnection;
    QMetaObject::Connection m_mediumConnection;
    QMetaObject::Connection m_portalConnection;
};

} // namespace net
