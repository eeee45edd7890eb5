#include "net/reachability/KNNetworkReachabilityManager.h"

#include "platform/NotificationCenter.h"
#include "support/Eventually.h"

#include <QCoreApplication>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Reports of one manager: through its block and through the notification.
struct Reports {
    std::vector<KNNetworkReachabilityStatus> fromBlock;
    std::vector<qint64> fromNotification;
    bool allOnMainThread = true;
    QObject context;

    explicit Reports(KNNetworkReachabilityManager& manager)
    {
        manager.setReachabilityStatusChangeBlock([this](KNNetworkReachabilityStatus status) {
            allOnMainThread = allOnMainThread && QThread::currentThread() == qApp->thread();
            fromBlock.push_back(status);
        });
        platform::NotificationCenter::defaultCenter().addObserver(
            &context, notifications::reachabilityDidChange, [this](const platform::Notification& note) {
                allOnMainThread = allOnMainThread && QThread::currentThread() == qApp->thread();
                EXPECT_FALSE(note.object.isValid());
                fromNotification.push_back(
                    note.userInfo.value(notifications::reachabilityNotificationStatusItem).toLongLong());
            });
    }
};

// Holds each resolution until the test answers it.
struct HeldResolver {
    std::vector<std::function<void(const QList<QHostAddress>&)>> pending;
    QStringList names;

    net::NetworkReachability::Resolver resolver()
    {
        return [this](const QString& name, QObject*, std::function<void(const QList<QHostAddress>&)> done) {
            names << name;
            pending.push_back(std::move(done));
        };
    }
    /// Answers the oldest resolution still held.
    void answer(const QList<QHostAddress>& addresses)
    {
        auto done = std::move(pending.front());
        pending.erase(pending.begin());
        done(addresses);
    }
};

std::shared_ptr<KNNetworkReachabilityManager> managerFor(const QString& host, HeldResolver& held)
{
    return std::make_shared<KNNetworkReachabilityManager>(
        net::NetworkReachability::forHostName(host, held.resolver()));
}

} // namespace

TEST(ReachabilityManager, StartsUnknownAndKnowsWhatItWatches)
{
    const auto address
        = KNNetworkReachabilityManager::managerForAddress(QHostAddress(QHostAddress::LocalHost));
    EXPECT_EQ(address->networkReachabilityStatus(), KNNetworkReachabilityStatus::Unknown);
    EXPECT_EQ(address->localizedNetworkReachabilityStatusString(), QStringLiteral("Unknown"));
    EXPECT_FALSE(address->isReachable());
    EXPECT_FALSE(address->isReachableViaWiFi());
    EXPECT_EQ(address->networkReachabilityAssociation(), KNNetworkReachabilityManager::Association::Address);

    const auto domain = KNNetworkReachabilityManager::managerForDomain(QStringLiteral("localhost"));
    EXPECT_EQ(domain->networkReachabilityStatus(), KNNetworkReachabilityStatus::Unknown);
    EXPECT_EQ(domain->networkReachabilityAssociation(), KNNetworkReachabilityManager::Association::HostName);

    const auto shared = KNNetworkReachabilityManager::sharedManager();
    EXPECT_EQ(shared, KNNetworkReachabilityManager::sharedManager());
    EXPECT_EQ(shared->networkReachabilityAssociation(), KNNetworkReachabilityManager::Association::Address);
    EXPECT_EQ(shared->networkReachabilityStatus(), KNNetworkReachabilityStatus::Unknown)
        << "never started here";
}

TEST(ReachabilityManager, AnAddressReportsOnceAfterStartAHostNameWaitsForItsResolution)
{
    const auto address
        = KNNetworkReachabilityManager::managerForAddress(QHostAddress(QHostAddress::LocalHost));
    HeldResolver held;
    const auto host = managerFor(QStringLiteral("printer.home.example"), held);
    Reports addressReports(*address);
    Reports hostReports(*host);

    host->startMonitoring();
    address->startMonitoring();
    EXPECT_TRUE(addressReports.fromBlock.empty()) << "the first report comes later, from the main loop";
    EXPECT_EVENTUALLY(!addressReports.fromBlock.empty());
    QCoreApplication::processEvents();

    ASSERT_EQ(addressReports.fromBlock.size(), 1u);
    EXPECT_EQ(addressReports.fromBlock.front(), KNNetworkReachabilityStatus::ReachableViaWiFi);
    EXPECT_EQ(addressReports.fromNotification, std::vector<qint64>({ 2 }));
    EXPECT_TRUE(address->isReachable());
    EXPECT_EQ(address->localizedNetworkReachabilityStatusString(), QStringLiteral("Reachable via WiFi"));
    EXPECT_TRUE(addressReports.allOnMainThread);

    EXPECT_TRUE(hostReports.fromBlock.empty());
    EXPECT_EQ(host->networkReachabilityStatus(), KNNetworkReachabilityStatus::Unknown);
    ASSERT_EQ(held.names, QStringList({ QStringLiteral("printer.home.example") }));

    held.answer({ QHostAddress(QHostAddress::LocalHost) });
    EXPECT_EQ(hostReports.fromBlock, std::vector({ KNNetworkReachabilityStatus::ReachableViaWiFi }));
    // The notification names no manager: its observers see every manager's reports.
    EXPECT_EQ(hostReports.fromNotification, std::vector<qint64>({ 2, 2 }));
    EXPECT_TRUE(hostReports.allOnMainThread);
}

TEST(ReachabilityManager, AHostNameThatResolvesToNothingIsNotReachable)
{
    HeldResolver held;
    const auto host = managerFor(QStringLiteral("gone.home.example"), held);
    Reports reports(*host);
    host->startMonitoring();
    ASSERT_EQ(held.pending.size(), 1u);
    held.answer({});
    EXPECT_EQ(reports.fromBlock, std::vector({ KNNetworkReachabilityStatus::NotReachable }));
    EXPECT_EQ(host->localizedNetworkReachabilityStatusString(), QStringLiteral("Not Reachable"));
    EXPECT_FALSE(host->isReachable());
}

TEST(ReachabilityManager, AHostThatDoesNotResolveIsReportedUnreachable)
{
    // A label longer than 63 characters is refused before any query leaves this machine.
    const QString name = QString(64, QLatin1Char('x')) + QStringLiteral(".example");
    ASSERT_TRUE(QUrl::toAce(name).isEmpty());

    const auto host = KNNetworkReachabilityManager::managerForDomain(name);
    Reports reports(*host);
    host->startMonitoring();
    EXPECT_EVENTUALLY(!reports.fromBlock.empty());
    EXPECT_EQ(reports.fromBlock, std::vector({ KNNetworkReachabilityStatus::NotReachable }));
    EXPECT_EQ(reports.fromNotification, std::vector<qint64>({ 0 }));
}

TEST(ReachabilityManager, StoppingDropsAPendingResolutionAndRestartingResolvesAgain)
{
    HeldResolver held;
    const auto host = managerFor(QStringLiteral("nas.home.example"), held);
    Reports reports(*host);
    host->startMonitoring();
    host->stopMonitoring();
    held.answer({ QHostAddress(QHostAddress::LocalHost) });
    EXPECT_TRUE(reports.fromBlock.empty());

    host->startMonitoring();
    host->startMonitoring();
    ASSERT_EQ(held.pending.size(), 2u);
    held.answer({});
    EXPECT_TRUE(reports.fromBlock.empty()) << "the answer to a replaced resolution";
    held.answer({ QHostAddress(QHostAddress::LocalHost) });
    EXPECT_EQ(reports.fromBlock, std::vector({ KNNetworkReachabilityStatus::ReachableViaWiFi }));
}

TEST(ReachabilityManager, AManagerGoneBeforeItsFirstReportIsNotCalled)
{
    bool called = false;
    {
        const auto address
            = KNNetworkReachabilityManager::managerForAddress(QHostAddress(QHostAddress::LocalHost));
        address->setReachabilityStatusChangeBlock([&called](KNNetworkReachabilityStatus) { called = true; });
        address->startMonitoring();
    }
    // A second manager's report comes after the first one's would have.
    const auto later = KNNetworkReachabilityManager::managerForAddress(QHostAddress(QHostAddress::LocalHost));
    Reports reports(*later);
    later->startMonitoring();
    EXPECT_EVENTUALLY(!reports.fromBlock.empty());
    QCoreApplication::processEvents();
    EXPECT_FALSE(called);
}
