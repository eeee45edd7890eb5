#include "net/core/RedirectRules.h"
#include "net/operation/KNURLConnectionOperation.h"
#include "net/security/KNSecurityPolicy.h"

#include "net/support/EchoServer.h"
#include "support/Eventually.h"
#include "support/LocalHttpServer.h"
#include "support/TestCertificates.h"

#include <QBuffer>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using mervane::test::LocalHttpServer;

namespace {

constexpr qint64 cap = 1 << 20;

LocalHttpServer::Reply redirectTo(const QString& location)
{
    return { 302, { { "Location", location.toUtf8() } }, {} };
}

std::shared_ptr<KNURLConnectionOperation> finished(std::shared_ptr<KNURLConnectionOperation> operation)
{
    operation->start();
    EXPECT_EVENTUALLY(operation->isFinished());
    return operation;
}

qint64 errorCode(const KNURLConnectionOperation& operation)
{
    return operation.error() ? operation.error()->code() : 0;
}

std::shared_ptr<KNSecurityPolicy> pinning(const TestCertificates::Identity& identity)
{
    auto policy = KNSecurityPolicy::policyWithPinningMode(KNSSLPinningMode::Certificate);
    policy->setPinnedCertificates(QList<QByteArray> { identity.der });
    return policy;
}

} // namespace

TEST(TransferLimits, AnAnnouncedLengthOverTheCapEndsTheTransferBeforeTheBody)
{
    LocalHttpServer server;
    // 2 MiB announced, 100 bytes sent, then nothing while the connection stays open.
    LocalHttpServer::Reply stalling { 200, {}, QByteArray(2 * cap, 'x') };
    stalling.holdAfterBodyBytes = 100;
    server.setReply(u"/stalls"_s, stalling);
    server.setReply(u"/exact"_s, { 200, {}, QByteArray(cap, 'y') });

    auto stalled = std::make_shared<KNURLConnectionOperation>(net::URLRequest(server.url(u"/stalls"_s), 60));
    stalled->setMaximumResponseLength(cap);
    finished(stalled);
    EXPECT_EQ(errorCode(*stalled), net::dataLengthExceedsMaximum) << "not the time-out, a minute away";
    QCoreApplication::processEvents();
    EXPECT_EQ(stalled->totalBytesRead(), 0);

    auto exact = std::make_shared<KNURLConnectionOperation>(net::URLRequest(server.url(u"/exact"_s)));
    exact->setMaximumResponseLength(cap);
    EXPECT_EQ(exact->clone()->maximumResponseLength(), cap);
    finished(exact);
    EXPECT_FALSE(exact->error());
    EXPECT_EQ(exact->responseData().value_or(QByteArray()).size(), cap);
}

TEST(TransferLimits, AnOpenEndedBodyStopsAtTheCapOnTheNetworkThreadWhileMainIsBusy)
{
    mervane::test::EchoServer server;
    ASSERT_TRUE(server.isRunning());
    auto buffer = std::make_shared<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    auto operation = std::make_shared<KNURLConnectionOperation>(
        net::URLRequest(server.url(u"/stream/%1"_s.arg(128 << 20))));
    operation->setOutputStream(buffer);
    operation->setMaximumResponseLength(cap);
    operation->start();
    // The main thread is what is busy here; the transfer goes on without it.
    QThread::msleep(300);
    EXPECT_EVENTUALLY(operation->isFinished());
    EXPECT_EQ(errorCode(*operation), net::dataLengthExceedsMaximum);
    QCoreApplication::processEvents();
    EXPECT_LE(buffer->data().size(), cap);
    EXPECT_LE(operation->totalBytesRead(), cap);
}

TEST(TransferLimits, RedirectsFollowUpToFiveHops)
{
    LocalHttpServer server;
    for (int hop = 1; hop <= 6; ++hop)
        server.setReply(u"/hop%1"_s.arg(hop), redirectTo(u"/hop%1"_s.arg(hop - 1)));
    server.setReply(u"/hop0"_s, { 200, {}, "arrived" });

    const auto five
        = finished(std::make_shared<KNURLConnectionOperation>(net::URLRequest(server.url(u"/hop5"_s))));
    EXPECT_FALSE(five->error());
    EXPECT_EQ(five->responseData(), QByteArray("arrived"));

    const int arrivedBefore = server.requestCount(u"/hop0"_s);
    const auto six
        = finished(std::make_shared<KNURLConnectionOperation>(net::URLRequest(server.url(u"/hop6"_s))));
    EXPECT_EQ(errorCode(*six), net::httpTooManyRedirects);
    EXPECT_EQ(server.requestCount(u"/hop0"_s), arrivedBefore);
    EXPECT_FALSE(six->responseData());

    // A redirect block that keeps asking for new addresses is held to the same count.
    server.setReply(u"/loop"_s, redirectTo(u"/loop"_s));
    auto looping = std::make_shared<KNURLConnectionOperation>(net::URLRequest(server.url(u"/loop"_s)));
    int asked = 0;
    looping->setRedirectResponseBlock([&](const net::URLRequest& request, const net::URLResponse&) {
        ++asked;
        net::URLRequest next = request;
        next.setUrl(server.url(u"/loop"_s).resolved(QUrl(u"?n=%1"_s.arg(asked))));
        return std::optional(next);
    });
    finished(looping);
    EXPECT_EQ(errorCode(*looping), net::httpTooManyRedirects);
    EXPECT_EQ(asked, net::maximumRedirects);
}

TEST(TransferLimits, ARedirectThatLeavesHttpsFailsWhateverTheRedirectBlockSays)
{
    TestCertificates certs;
    ASSERT_TRUE(certs.ok()) << certs.errorText().toStdString();
    LocalHttpServer plain;
    plain.setReply(u"/rates"_s, { 200, {}, "sent in the clear" });
    LocalHttpServer secure;
    secure.useTls(certs.selfSigned().certificate, certs.selfSigned().key);
    secure.setReply(u"/down"_s, redirectTo(plain.url(u"/rates"_s).toString()));
    secure.setReply(u"/across"_s, redirectTo(u"/there"_s));
    secure.setReply(u"/there"_s, { 200, {}, "still secret" });

    auto across = std::make_shared<KNURLConnectionOperation>(net::URLRequest(secure.url(u"/across"_s)));
    across->setSecurityPolicy(pinning(certs.selfSigned()));
    finished(across);
    EXPECT_FALSE(across->error());
    EXPECT_EQ(across->responseData(), QByteArray("still secret"));

    auto down = std::make_shared<KNURLConnectionOperation>(net::URLRequest(secure.url(u"/down"_s)));
    down->setSecurityPolicy(pinning(certs.selfSigned()));
    finished(down);
    EXPECT_EQ(errorCode(*down), net::secureConnectionRequired);
    EXPECT_FALSE(down->responseData());

    // A block that turns a secure redirect into a plain request is not obeyed either.
    auto rewritten = std::make_shared<KNURLConnectionOperation>(net::URLRequest(secure.url(u"/across"_s)));
    rewritten->setSecurityPolicy(pinning(certs.selfSigned()));
    rewritten->setRedirectResponseBlock([&](const net::URLRequest& request, const net::URLResponse&) {
        net::URLRequest next = request;
        next.setUrl(plain.url(u"/rates"_s));
        return std::optional(next);
    });
    finished(rewritten);
    EXPECT_EQ(errorCode(*rewritten), net::secureConnectionRequired);
    EXPECT_EQ(plain.requestCount(u"/rates"_s), 0);

    // Going up from http to https is no downgrade.
    plain.setReply(u"/up"_s, redirectTo(secure.url(u"/there"_s).toString()));
    auto up = std::make_shared<KNURLConnectionOperation>(net::URLRequest(plain.url(u"/up"_s)));
    up->setSecurityPolicy(pinning(certs.selfSigned()));
    finished(up);
    EXPECT_FALSE(up->error());
    EXPECT_EQ(up->responseData(), QByteArray("still secret"));
}
