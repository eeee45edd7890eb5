#pragma once

#include "net/reachability/NetworkReachability.h"

#include <QHostAddress>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

enum class KNNetworkReachabilityStatus : qint64 {
    Unknown = -1,
    NotReachable = 0,
    ReachableViaWWAN = 1,
    ReachableViaWiFi = 2,
};

/// The status's text from the strings table "KitNet"; "Unknown" for any value other than 0,
/// 1 and 2.
QString KNReachabilityStatusText(qint64 status);

namespace notifications {

/// Posted on the main thread without an object; the user info holds the status (a qint64)
/// under `reachabilityNotificationStatusItem`.
inline const QString reachabilityDidChange = QStringLiteral("kitnet.networking.reachability.change");
inline const QString reachabilityNotificationStatusItem
    = QStringLiteral("KNNetworkingReachabilityNotificationStatusItem");

} // namespace notifications

/// Watches whether an address or a host name can be reached and reports each change to the
/// status block and as the notification `notifications::reachabilityDidChange`, on the main
/// thread. Lives on the main thread.
///
/// Where the status comes from: the system's network information (Qt's best backend) for
/// change events, and the kernel's routes for the evidence; a host name is resolved first and
/// is not reachable when no address resolves. Without a network information backend nothing
/// announces changes: an address manager then reports its route once after starting and a
/// host-name manager once after its resolution, and neither reports reachable without a
/// route. Status 1 (cellular) is never produced.
class KNNetworkReachabilityManager : public QObject {
    Q_OBJECT
public:
    enum class Association : quint64 { Address = 1, HostName = 3 };
    using StatusBlock = std::function<void(KNNetworkReachabilityStatus status)>;

    /// For the IPv4 "any" address: whether this machine has a network at all. Created on the
    /// first call and kept for the life of the process; never started here.
    static std::shared_ptr<KNNetworkReachabilityManager> sharedManager();
    static std::shared_ptr<KNNetworkReachabilityManager> managerForDomain(const QString& domain);
    static std::shared_ptr<KNNetworkReachabilityManager> managerForAddress(const QHostAddress& address);

    /// Owns `reachability`; status unknown.
    explicit KNNetworkReachabilityManager(std::unique_ptr<net::NetworkReachability> reachability);
    /// Stops monitoring.
    ~KNNetworkReachabilityManager() override;

    /// The status the flags give: not reachable without the reachable bit; when a connection
    /// is required, reachable only if it is made automatically (on traffic or on demand)
    /// without the user's intervention; otherwise reachable via WiFi.
    static KNNetworkReachabilityStatus statusForFlags(net::ReachabilityFlags flags);

    KNNetworkReachabilityStatus networkReachabilityStatus() const { return m_networkReachabilityStatus; }
    Association networkReachabilityAssociation() const { return m_networkReachabilityAssociation; }
    bool isReachable() const;
    bool isReachableViaWWAN() const;
    bool isReachableViaWiFi() const;
    QString localizedNetworkReachabilityStatusString() const;

    /// Called on the main thread with each reported status.
    void setReachabilityStatusChangeBlock(StatusBlock block);

    /// Restarts: an address manager also reports its current status soon after, once; a
    /// host-name manager first reports when its name has been resolved.
    void startMonitoring();
    /// Reports already on their way still arrive.
    void stopMonitoring();

Q_SIGNALS:
    /// Also tells observers of the three reachable properties.
    void networkReachabilityStatusChanged(KNNetworkReachabilityStatus status);

private:
    void report(net::ReachabilityFlags flags);

    std::unique_ptr<net::NetworkReachability> m_networkReachability;
    KNNetworkReachabilityStatus m_networkReachabilityStatus = KNNetworkReachabilityStatus::Unknown;
    Association m_networkReachabilityAssociation = Association::Address;
    StatusBlock m_networkReachabilityStatusBlock;
    QMetaObject::Connection m_callback;
};
