#include "net/operation/KNURLConnectionOperation.h"
#include "net/security/KNSecurityPolicy.h"
#include "net/security/ServerTrust.h"

#include "support/Eventually.h"
#include "support/LocalHttpServer.h"
#include "support/TestCertificates.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using mervane::test::LocalHttpServer;

namespace {

class TLSOperationTest : public ::testing::Test {
protected:
    void serve(const TestCertificates::Identity& identity)
    {
        ASSERT_TRUE(certs.ok()) << certs.errorText().toStdString();
        server.useTls(identity.certificate, identity.key, identity.chain);
        server.setReply(u"/secret"_s, { 200, {}, "secret" });
    }

    std::shared_ptr<KNURLConnectionOperation> fetch(std::shared_ptr<KNSecurityPolicy> policy)
    {
        auto operation
            = std::make_shared<KNURLConnectionOperation>(net::URLRequest(server.url(u"/secret"_s)));
        if (policy)
            operation->setSecurityPolicy(std::move(policy));
        operation->start();
        EXPECT_EVENTUALLY(operation->isFinished());
        return operation;
    }

    static std::shared_ptr<KNSecurityPolicy> pinning(const QByteArray& der)
    {
        auto policy = KNSecurityPolicy::policyWithPinningMode(KNSSLPinningMode::Certificate);
        policy->setPinnedCertificates(QList<QByteArray> { der });
        return policy;
    }

    TestCertificates certs;
    LocalHttpServer server;
};

} // namespace

TEST_F(TLSOperationTest, TheDefaultPolicyRefusesASelfSignedServer)
{
    serve(certs.selfSigned());
    const auto operation = fetch(nullptr);
    ASSERT_TRUE(operation->error());
    EXPECT_TRUE(operation->error()->is(net::urlErrorDomain, net::serverCertificateUntrusted))
        << operation->error()->code();
    EXPECT_FALSE(operation->responseData());
    EXPECT_EQ(server.requestCount(u"/secret"_s), 0) << "nothing is sent to a refused server";
}

TEST_F(TLSOperationTest, ACertificatePinnedPolicyAcceptsThePinnedServer)
{
    serve(certs.selfSigned());
    const auto operation = fetch(pinning(certs.selfSigned().der));
    EXPECT_FALSE(operation->error())
        << operation->error().value_or(net::Error()).localizedDescription().toStdString();
    EXPECT_EQ(operation->responseData(), QByteArray("secret"));
}

TEST_F(TLSOperationTest, APinnedCertificateForAnotherHostOrAnotherPinIsRefused)
{
    serve(certs.otherHost());
    const auto otherHost = fetch(pinning(certs.otherHost().der));
    ASSERT_TRUE(otherHost->error());
    EXPECT_EQ(otherHost->error()->code(), net::serverCertificateUntrusted);

    const auto wrongPin = fetch(pinning(certs.selfSigned().der));
    ASSERT_TRUE(wrongPin->error());
    EXPECT_EQ(wrongPin->error()->code(), net::serverCertificateUntrusted);
    EXPECT_EQ(server.requestCount(u"/secret"_s), 0);
}

TEST_F(TLSOperationTest, AChainThatVerifiesButIsNotWhollyPinnedIsRefusedAfterTheHandshake)
{
    serve(certs.leaf());
    const auto operation = fetch(pinning(certs.root().der));
    ASSERT_TRUE(operation->error());
    EXPECT_EQ(operation->error()->code(), net::serverCertificateUntrusted);
    EXPECT_EQ(server.requestCount(u"/secret"_s), 0) << "refused before the request is sent";
}

TEST_F(TLSOperationTest, WithChainValidationAPinnedLeafDoesNotVouchForTheRestOfTheChain)
{
    ASSERT_TRUE(certs.ok()) << certs.errorText().toStdString();
    server.useTls(certs.leaf().certificate, certs.leaf().key,
        { certs.leaf().certificate, certs.intermediate().certificate, certs.root().certificate });
    server.setReply(u"/secret"_s, { 200, {}, "secret" });

    const auto validated = fetch(pinning(certs.leaf().der));
    ASSERT_TRUE(validated->error());
    EXPECT_EQ(validated->error()->code(), net::serverCertificateUntrusted);
    EXPECT_EQ(server.requestCount(u"/secret"_s), 0);

    auto leafOnly = pinning(certs.leaf().der);
    leafOnly->setValidatesCertificateChain(false);
    const auto accepted = fetch(leafOnly);
    EXPECT_FALSE(accepted->error());
    EXPECT_EQ(accepted->responseData(), QByteArray("secret"));
}

TEST_F(TLSOperationTest, TheChallengeBlockJudgesTheTrustInsteadOfThePolicy)
{
    serve(certs.selfSigned());
    auto operation = std::make_shared<KNURLConnectionOperation>(net::URLRequest(server.url(u"/secret"_s)));
    QString askedHost;
    qsizetype chainLength = 0;
    operation->setWillSendRequestForAuthenticationChallengeBlock(
        [&](const net::AuthenticationChallenge& challenge) {
            askedHost = challenge.host;
            chainLength = challenge.serverTrust ? challenge.serverTrust->certificateCount() : -1;
            return net::AuthenticationChallengeAnswer {
                net::AuthenticationChallengeAnswer::Disposition::UseCredential, {}
            };
        });
    operation->start();
    EXPECT_EVENTUALLY(operation->isFinished());
    EXPECT_FALSE(operation->error());
    EXPECT_EQ(operation->responseData(), QByteArray("secret"));
    EXPECT_EQ(askedHost, u"127.0.0.1"_s);
    EXPECT_EQ(chainLength, 1);
}
