#include "CertificateTest.h"

#include "platform/Clock.h"

#include <QDateTime>
#include <QSslKey>

using net::ServerTrust;

namespace {

using ServerTrustTest = CertificateTest;

TEST_F(ServerTrustTest, AChainToAnAnchorVerifiesForTheNamesItWasIssuedFor)
{
    const auto& leaf = certificates().leaf();
    const ServerTrust trust = anchored(leaf.chain, { certificates().root() });

    EXPECT_TRUE(trust.evaluate(std::nullopt));
    EXPECT_TRUE(trust.evaluate(QStringLiteral("localhost")));
    EXPECT_TRUE(trust.evaluate(QStringLiteral("LocalHost")));
    EXPECT_TRUE(trust.evaluate(QStringLiteral("127.0.0.1")));

    EXPECT_FALSE(trust.evaluate(QStringLiteral("other.invalid")));
    EXPECT_FALSE(trust.evaluate(QStringLiteral("127.0.0.2")));
    EXPECT_FALSE(trust.evaluate(QStringLiteral("localhost.invalid")));
    // An empty name must fail the check, not switch it off.
    EXPECT_FALSE(trust.evaluate(QString()));
    EXPECT_FALSE(trust.evaluate(QStringLiteral("")));
}

TEST_F(ServerTrustTest, AChainThatDoesNotReachAnAnchorIsRefused)
{
    const auto& leaf = certificates().leaf();
    // The system's roots know nothing of certificates made a moment ago.
    EXPECT_FALSE(ServerTrust(leaf.chain).evaluate(std::nullopt));
    EXPECT_FALSE(ServerTrust(certificates().selfSigned().chain).evaluate(std::nullopt));

    EXPECT_FALSE(anchored({ leaf.certificate }, { certificates().root() }).evaluate(std::nullopt))
        << "the intermediate is missing";
    EXPECT_FALSE(anchored(leaf.chain, { certificates().otherHost() }).evaluate(std::nullopt));
    EXPECT_FALSE(anchored(leaf.chain, {}).evaluate(std::nullopt)) << "anchors replace the system's roots";
    EXPECT_FALSE(anchored({}, { certificates().root() }).evaluate(std::nullopt)) << "an empty chain";
}

TEST_F(ServerTrustTest, AnAnchorNeedNotBeARoot)
{
    const auto& leaf = certificates().leaf();
    EXPECT_TRUE(
        anchored(leaf.chain, { certificates().intermediate() }).evaluate(QStringLiteral("localhost")));
    EXPECT_TRUE(anchored({ leaf.certificate }, { leaf }).evaluate(QStringLiteral("localhost")));
}

TEST_F(ServerTrustTest, ValidityDatesAreReadAgainstTheApplicationClock)
{
    const auto& expired = certificates().expired();
    const ServerTrust expiredTrust = anchored(expired.chain, { expired });
    const ServerTrust leafTrust = anchored(certificates().leaf().chain, { certificates().root() });
    EXPECT_FALSE(expiredTrust.evaluate(std::nullopt));
    EXPECT_FALSE(expiredTrust.evaluate(QStringLiteral("localhost")));
    {
        const platform::ScopedClock inTheYear2000(QDateTime(QDate(2000, 6, 1), QTime(12, 0), Qt::UTC));
        EXPECT_TRUE(expiredTrust.evaluate(QStringLiteral("localhost")));
        EXPECT_FALSE(leafTrust.evaluate(QStringLiteral("localhost"))) << "not valid yet";
    }
    EXPECT_TRUE(leafTrust.evaluate(QStringLiteral("localhost")));
}

TEST_F(ServerTrustTest, OnlyWholeCertificatesMakeUpTheChain)
{
    const QByteArray der = certificates().leaf().der;
    const ServerTrust trust
        = ServerTrust::fromDER({ "not a certificate", der, der + "trailing", der.left(40), der });

    ASSERT_EQ(trust.certificateCount(), 2);
    EXPECT_EQ(trust.certificateDataAt(0), der);
    EXPECT_EQ(trust.certificateDataAt(1), der);
    EXPECT_TRUE(trust.certificateDataAt(2).isEmpty());

    const ServerTrust fromCertificates({ QSslCertificate(), certificates().root().certificate });
    ASSERT_EQ(fromCertificates.certificateCount(), 1);
    EXPECT_EQ(fromCertificates.certificateDataAt(0), certificates().root().der);
}

TEST_F(ServerTrustTest, PublicKeysAreExportedInOneFormSoThatEqualKeysCompareEqual)
{
    const auto& leaf = certificates().leaf();
    const ServerTrust trust(leaf.chain);

    const std::optional<QByteArray> leafKey = trust.publicKeyAt(0);
    const std::optional<QByteArray> intermediateKey = trust.publicKeyAt(1);
    ASSERT_TRUE(leafKey && intermediateKey);
    EXPECT_EQ(*leafKey, leaf.certificate.publicKey().toDer());
    EXPECT_EQ(*intermediateKey, certificates().intermediate().certificate.publicKey().toDer());
    EXPECT_NE(*leafKey, *intermediateKey);
    EXPECT_EQ(ServerTrust::fromDER({ leaf.der }).publicKeyAt(0), leafKey);

    EXPECT_FALSE(trust.publicKeyAt(2));
    EXPECT_FALSE(trust.publicKeyAt(-1));
}

} // namespace
