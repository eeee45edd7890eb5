#include "net/reachability/KNNetworkReachabilityManager.h"

#include <gtest/gtest.h>

using net::ReachabilityFlag;
using net::ReachabilityFlags;
using Info = QNetworkInformation;

namespace {

qint64 statusOf(ReachabilityFlags flags)
{
    return static_cast<qint64>(KNNetworkReachabilityManager::statusForFlags(flags));
}

net::NetworkState backendSays(Info::Reachability reachability)
{
    net::NetworkState state;
    state.hasBackend = true;
    state.reachability = reachability;
    return state;
}

} // namespace

TEST(ReachabilityStatus, FollowsTheFlagsRule)
{
    const ReachabilityFlags reachable = ReachabilityFlag::Reachable;
    const ReachabilityFlags required = reachable | ReachabilityFlag::ConnectionRequired;

    EXPECT_EQ(statusOf({}), 0);
    EXPECT_EQ(statusOf(ReachabilityFlags(ReachabilityFlag::ConnectionOnDemand)), 0) << "no reachable bit";
    EXPECT_EQ(statusOf(reachable), 2);
    EXPECT_EQ(statusOf(required), 0) << "a required connection nobody makes automatically";
    EXPECT_EQ(statusOf(required | ReachabilityFlag::ConnectionOnDemand), 2);
    EXPECT_EQ(statusOf(required | ReachabilityFlag::ConnectionOnTraffic), 2);
    EXPECT_EQ(
        statusOf(required | ReachabilityFlag::ConnectionOnTraffic | ReachabilityFlag::InterventionRequired),
        0);
    EXPECT_EQ(statusOf(reachable | ReachabilityFlag::InterventionRequired), 2)
        << "intervention only matters when a connection is required";
    EXPECT_EQ(statusOf(reachable | ReachabilityFlag::IsWWAN), 2) << "the cellular status is never produced";
}

TEST(ReachabilityStatus, TextsForEveryValue)
{
    EXPECT_EQ(KNReachabilityStatusText(-1), QStringLiteral("Unknown"));
    EXPECT_EQ(KNReachabilityStatusText(0), QStringLiteral("Not Reachable"));
    EXPECT_EQ(KNReachabilityStatusText(1), QStringLiteral("Reachable via WWAN"));
    EXPECT_EQ(KNReachabilityStatusText(2), QStringLiteral("Reachable via WiFi"));
    EXPECT_EQ(KNReachabilityStatusText(3), QStringLiteral("Unknown"));
    EXPECT_EQ(KNReachabilityStatusText(-2), QStringLiteral("Unknown"));
}

TEST(ReachabilityFlags, ARouteIsTheEvidenceTheNetworkInformationQualifies)
{
    const net::NetworkState noBackend;
    EXPECT_EQ(net::reachabilityFlags(noBackend, false, false), ReachabilityFlags());
    EXPECT_EQ(net::reachabilityFlags(noBackend, true, false), ReachabilityFlags(ReachabilityFlag::Reachable));
    EXPECT_EQ(
        net::reachabilityFlags(backendSays(Info::Reachability::Online), false, false), ReachabilityFlags())
        << "an online system without a route to this target";
    EXPECT_EQ(net::reachabilityFlags(backendSays(Info::Reachability::Disconnected), true, false),
        ReachabilityFlags());
    EXPECT_EQ(net::reachabilityFlags(backendSays(Info::Reachability::Disconnected), true, true),
        ReachabilityFlags(ReachabilityFlag::Reachable))
        << "loopback does not need a network";
    for (const auto reachability :
        { Info::Reachability::Local, Info::Reachability::Site, Info::Reachability::Online })
        EXPECT_EQ(net::reachabilityFlags(backendSays(reachability), true, false),
            ReachabilityFlags(ReachabilityFlag::Reachable));
}

TEST(ReachabilityFlags, CaptivePortalAndCellularMedium)
{
    net::NetworkState portal = backendSays(Info::Reachability::Site);
    portal.behindCaptivePortal = true;
    const ReachabilityFlags portalFlags = net::reachabilityFlags(portal, true, false);
    EXPECT_TRUE(portalFlags.testFlag(ReachabilityFlag::InterventionRequired));
    EXPECT_EQ(statusOf(portalFlags), 0) << "the portal wants the user before traffic passes";

    net::NetworkState cellular = backendSays(Info::Reachability::Online);
    cellular.transportMedium = Info::TransportMedium::Cellular;
    const ReachabilityFlags cellularFlags = net::reachabilityFlags(cellular, true, false);
    EXPECT_TRUE(cellularFlags.testFlag(ReachabilityFlag::IsWWAN));
    EXPECT_EQ(statusOf(cellularFlags), 2);
}

TEST(ReachabilityFlags, RoutesOfTheKernel)
{
    EXPECT_TRUE(net::routeExists(QHostAddress(QHostAddress::LocalHost)));
    EXPECT_FALSE(net::routeExists(QHostAddress()));
}
