#include "net/reachability/KNNetworkReachabilityManager.h"

#include "support/Eventually.h"

#include <QCoreApplication>
#include <QNetworkInterface>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <optional>

// The test runs itself again inside a network namespace of its own (`unshare -rn`) that has
// nothing but loopback, so "outside" is truly out of reach and nothing can leave the machine.

namespace {

constexpr const char* kInsideNamespace = "MERVANE_REACHABILITY_IN_LOOPBACK_NAMESPACE";

// A new namespace's loopback starts down.
bool bringLoopbackUp()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    ifreq request {};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    if (up) {
        request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
        up = ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    }
    ::close(fd);
    return up;
}

std::optional<KNNetworkReachabilityStatus> firstReport(KNNetworkReachabilityManager& manager)
{
    std::optional<KNNetworkReachabilityStatus> reported;
    manager.setReachabilityStatusChangeBlock([&reported](KNNetworkReachabilityStatus status) {
        if (!reported)
            reported = status;
    });
    manager.startMonitoring();
    EXPECT_TRUE(QTest::qWaitFor([&] { return reported.has_value(); }, 30000));
    manager.setReachabilityStatusChangeBlock({});
    return reported;
}

void checkInsideNamespace()
{
    ASSERT_TRUE(bringLoopbackUp());
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if (interface.flags().testFlag(QNetworkInterface::IsUp)) {
            ASSERT_TRUE(interface.flags().testFlag(QNetworkInterface::IsLoopBack))
                << interface.name().toStdString();
        }
    }

    const auto loopback
        = KNNetworkReachabilityManager::managerForAddress(QHostAddress(QHostAddress::LocalHost));
    EXPECT_EQ(firstReport(*loopback), KNNetworkReachabilityStatus::ReachableViaWiFi);

    const auto loopbackName = KNNetworkReachabilityManager::managerForDomain(QStringLiteral("localhost"));
    EXPECT_EQ(firstReport(*loopbackName), KNNetworkReachabilityStatus::ReachableViaWiFi);

    // A documentation address: no route leads there from here.
    const auto outsideAddress
        = KNNetworkReachabilityManager::managerForAddress(QHostAddress(QStringLiteral("192.0.2.10")));
    EXPECT_EQ(firstReport(*outsideAddress), KNNetworkReachabilityStatus::NotReachable);

    const auto outsideHost
        = KNNetworkReachabilityManager::managerForDomain(QStringLiteral("www.example.com"));
    EXPECT_EQ(firstReport(*outsideHost), KNNetworkReachabilityStatus::NotReachable);

    const auto anyNetwork = KNNetworkReachabilityManager::sharedManager();
    EXPECT_EQ(firstReport(*anyNetwork), KNNetworkReachabilityStatus::NotReachable)
        << "loopback is no network";
    anyNetwork->stopMonitoring();
}

} // namespace

TEST(ReachabilityLoopbackNamespace, AnOutsideHostIsReportedUnreachable)
{
    if (qEnvironmentVariableIsSet(kInsideNamespace)) {
        checkInsideNamespace();
        return;
    }

    QProcess probe;
    probe.start(QStringLiteral("unshare"), { QStringLiteral("-rn"), QStringLiteral("true") });
    if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        GTEST_SKIP() << "this kernel or sandbox gives no user and network namespace (unshare -rn): "
                     << probe.readAllStandardError().trimmed().toStdString()
                     << probe.errorString().toStdString();

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kInsideNamespace), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("unshare"),
        { QStringLiteral("-rn"), QCoreApplication::applicationFilePath(),
            QStringLiteral(
                "--gtest_filter=ReachabilityLoopbackNamespace.AnOutsideHostIsReportedUnreachable") });
    ASSERT_TRUE(child.waitForFinished(100000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}
