#include "CertificateTest.h"

#include "net/security/KNSecurityPolicy.h"

using net::ServerTrust;

namespace {

using KNSecurityPolicyTest = CertificateTest;

const QString localhost = QStringLiteral("localhost");
const QString otherHost = QStringLiteral("other.invalid");

QList<QByteArray> der(const QList<TestCertificates::Identity>& identities)
{
    QList<QByteArray> data;
    for (const TestCertificates::Identity& identity : identities)
        data.append(identity.der);
    return data;
}

/// Evaluates a fresh trust each time: certificate pinning replaces the trust's anchors.
bool accepts(const KNSecurityPolicy& policy, const ServerTrust& trust, const std::optional<QString>& domain)
{
    ServerTrust copy = trust;
    return policy.evaluateServerTrust(copy, domain);
}

TEST_F(KNSecurityPolicyTest, ThePoliciesStartWithNothingPinnedAndEveryCheckOn)
{
    const auto policy = KNSecurityPolicy::defaultPolicy();
    EXPECT_EQ(policy->SSLPinningMode(), KNSSLPinningMode::None);
    EXPECT_TRUE(policy->validatesCertificateChain());
    EXPECT_FALSE(policy->allowInvalidCertificates());
    EXPECT_TRUE(policy->validatesDomainName());
    EXPECT_FALSE(policy->pinnedCertificates());
    EXPECT_FALSE(policy->pinnedPublicKeys());
    EXPECT_TRUE(policy->handshakeCACertificates().isEmpty());

    // The application ships no certificates to pin: pinning with them pins an empty list,
    // which no server can match.
    EXPECT_TRUE(KNSecurityPolicy::defaultPinnedCertificates().isEmpty());
    for (const KNSSLPinningMode mode : { KNSSLPinningMode::PublicKey, KNSSLPinningMode::Certificate }) {
        const auto pinning = KNSecurityPolicy::policyWithPinningMode(mode);
        EXPECT_EQ(pinning->SSLPinningMode(), mode);
        EXPECT_TRUE(pinning->validatesDomainName());
        ASSERT_TRUE(pinning->pinnedCertificates() && pinning->pinnedPublicKeys());
        EXPECT_TRUE(pinning->pinnedCertificates()->isEmpty());
        EXPECT_TRUE(pinning->pinnedPublicKeys()->isEmpty());
        EXPECT_FALSE(
            accepts(*pinning, anchored(certificates().leaf().chain, { certificates().root() }), localhost));
    }
}

TEST_F(KNSecurityPolicyTest, TheDefaultPolicyChecksTheHostNameUnlessTheCallerOptsOut)
{
    KNSecurityPolicy policy = *KNSecurityPolicy::defaultPolicy();
    const ServerTrust trust = anchored(certificates().leaf().chain, { certificates().root() });
    EXPECT_TRUE(accepts(policy, trust, localhost));
    EXPECT_TRUE(accepts(policy, trust, QStringLiteral("127.0.0.1")));
    EXPECT_FALSE(accepts(policy, trust, otherHost));
    EXPECT_FALSE(accepts(policy, trust, std::nullopt)) << "no host name can match none";
    ServerTrust unnamed = trust;
    EXPECT_FALSE(policy.evaluateServerTrust(unnamed));

    policy.setValidatesDomainName(false);
    EXPECT_TRUE(accepts(policy, trust, otherHost));
    EXPECT_TRUE(accepts(policy, trust, std::nullopt));
    EXPECT_TRUE(policy.evaluateServerTrust(unnamed));
}

TEST_F(KNSecurityPolicyTest, ChoosingAPinningModeLeavesTheHostCheckAsItWas)
{
    KNSecurityPolicy policy;
    policy.setSSLPinningMode(KNSSLPinningMode::PublicKey);
    policy.setSSLPinningMode(KNSSLPinningMode::None);
    EXPECT_TRUE(policy.validatesDomainName());
    EXPECT_FALSE(
        accepts(policy, anchored(certificates().leaf().chain, { certificates().root() }), otherHost));

    policy.setValidatesDomainName(false);
    policy.setSSLPinningMode(KNSSLPinningMode::Certificate);
    EXPECT_FALSE(policy.validatesDomainName());
}

TEST_F(KNSecurityPolicyTest, InvalidCertificatesAreAcceptedOnlyWhenAllowed)
{
    const auto& expired = certificates().expired();
    const QList<ServerTrust> invalid = {
        ServerTrust(certificates().selfSigned().chain), anchored(expired.chain, { expired }),
        anchored(certificates().leaf().chain, { certificates().root() }), // but asked for another host
    };
    const QList<QString> hosts = { localhost, localhost, otherHost };

    KNSecurityPolicy policy;
    for (qsizetype index = 0; index < invalid.size(); ++index)
        EXPECT_FALSE(accepts(policy, invalid.at(index), hosts.at(index))) << index;
    policy.setAllowInvalidCertificates(true);
    for (qsizetype index = 0; index < invalid.size(); ++index)
        EXPECT_TRUE(accepts(policy, invalid.at(index), hosts.at(index))) << index;
}

TEST_F(KNSecurityPolicyTest, CertificatePinningWantsEveryCertificateOfTheChainPinned)
{
    const auto& certs = certificates();
    const QList<QSslCertificate> chainOfThree
        = { certs.leaf().certificate, certs.intermediate().certificate, certs.root().certificate };
    const ServerTrust unanchored(chainOfThree);

    KNSecurityPolicy policy;
    policy.setSSLPinningMode(KNSSLPinningMode::Certificate);
    policy.setPinnedCertificates(der({ certs.intermediate(), certs.root() }));
    policy.setAllowInvalidCertificates(true); // the system's roots do not know the test root
    EXPECT_FALSE(accepts(policy, unanchored, localhost)) << "the leaf is not pinned";
    policy.setValidatesCertificateChain(false);
    EXPECT_TRUE(accepts(policy, unanchored, localhost)) << "the pins anchor the chain";

    policy.setValidatesCertificateChain(true);
    policy.setPinnedCertificates(der({ certs.leaf(), certs.intermediate(), certs.root() }));
    EXPECT_TRUE(accepts(policy, unanchored, localhost));

    // Without invalid certificates allowed, the chain must first verify on its own.
    policy.setAllowInvalidCertificates(false);
    EXPECT_FALSE(accepts(policy, unanchored, localhost));
    EXPECT_TRUE(accepts(policy, anchored(chainOfThree, { certs.root() }), localhost));
}

TEST_F(KNSecurityPolicyTest, CertificatePinningOfTheLeafAloneVouchesForTheChainOnlyWithoutChainValidation)
{
    const auto& certs = certificates();
    // Judged against the pins, as a handshake with certificate pinning is.
    const ServerTrust chainOfThree
        = anchored({ certs.leaf().certificate, certs.intermediate().certificate, certs.root().certificate },
            { certs.leaf() });
    KNSecurityPolicy policy;
    policy.setSSLPinningMode(KNSSLPinningMode::Certificate);
    policy.setPinnedCertificates(der({ certs.leaf() }));
    EXPECT_FALSE(accepts(policy, chainOfThree, localhost)) << "the intermediate and the root are not pinned";
    policy.setPinnedCertificates(der({ certs.leaf(), certs.intermediate() }));
    EXPECT_FALSE(accepts(policy, chainOfThree, localhost)) << "the root is not pinned";

    policy.setPinnedCertificates(der({ certs.leaf() }));
    policy.setValidatesCertificateChain(false);
    EXPECT_TRUE(accepts(policy, chainOfThree, localhost)) << "the pinned leaf anchors the chain";
}

TEST_F(KNSecurityPolicyTest, CertificatePinningRefusesWhatThePinsDoNotAnchorEvenWhenInvalidIsAllowed)
{
    const auto& certs = certificates();
    KNSecurityPolicy policy;
    policy.setSSLPinningMode(KNSSLPinningMode::Certificate);
    policy.setAllowInvalidCertificates(true);
    policy.setValidatesCertificateChain(false);

    policy.setPinnedCertificates(der({ certs.otherHost() }));
    EXPECT_FALSE(accepts(policy, ServerTrust(certs.leaf().chain), localhost));

    policy.setPinnedCertificates(der({ certs.selfSigned() }));
    EXPECT_TRUE(accepts(policy, ServerTrust(certs.selfSigned().chain), localhost));
    EXPECT_FALSE(accepts(policy, ServerTrust(certs.selfSigned().chain), otherHost))
        << "the pinned chain is checked for the host too";

    policy.setPinnedCertificates(std::nullopt);
    EXPECT_FALSE(accepts(policy, ServerTrust(certs.selfSigned().chain), localhost));
}

TEST_F(KNSecurityPolicyTest, PublicKeyPinningWithoutChainValidationNeedsOnlyTheLeafsKey)
{
    const auto& certs = certificates();
    const ServerTrust trust = anchored(certs.leaf().chain, { certs.root() });

    KNSecurityPolicy policy;
    policy.setSSLPinningMode(KNSSLPinningMode::PublicKey);
    policy.setPinnedCertificates(der({ certs.leaf() }));
    EXPECT_FALSE(accepts(policy, trust, localhost)) << "the intermediate's key is not pinned";
    policy.setValidatesCertificateChain(false);
    EXPECT_TRUE(accepts(policy, trust, localhost));
    EXPECT_FALSE(accepts(policy, trust, otherHost));

    policy.setPinnedCertificates(der({ certs.intermediate() }));
    EXPECT_FALSE(accepts(policy, trust, localhost)) << "only the leaf counts";

    policy.setValidatesCertificateChain(true);
    policy.setPinnedCertificates(der({ certs.root(), certs.intermediate(), certs.leaf() }));
    EXPECT_TRUE(accepts(policy, trust, localhost));
    policy.setPinnedCertificates(der({ certs.otherHost(), certs.selfSigned() }));
    EXPECT_FALSE(accepts(policy, trust, localhost));

    // The keys are compared, not the trust's anchors: a chain the system does not trust still
    // needs invalid certificates allowed.
    policy.setPinnedCertificates(der({ certs.selfSigned() }));
    const ServerTrust selfSigned(certs.selfSigned().chain);
    EXPECT_FALSE(accepts(policy, selfSigned, localhost));
    policy.setAllowInvalidCertificates(true);
    EXPECT_TRUE(accepts(policy, selfSigned, localhost));
}

TEST_F(KNSecurityPolicyTest, PinnedPublicKeysFollowThePinnedCertificates)
{
    const auto& certs = certificates();
    KNSecurityPolicy policy;
    policy.setPinnedCertificates(
        QList<QByteArray> { "not a certificate", certs.leaf().der, certs.root().der });
    ASSERT_TRUE(policy.pinnedPublicKeys());
    EXPECT_EQ(*policy.pinnedPublicKeys(),
        (QList<QByteArray> {
            certs.leaf().certificate.publicKey().toDer(), certs.root().certificate.publicKey().toDer() }));
    EXPECT_EQ(policy.pinnedCertificates()->size(), 3);

    policy.setPinnedCertificates(std::nullopt);
    EXPECT_FALSE(policy.pinnedCertificates());
    EXPECT_FALSE(policy.pinnedPublicKeys());

    policy.setValidatesCertificateChain(false);
    policy.setAllowInvalidCertificates(true);
    policy.setSSLPinningMode(KNSSLPinningMode::PublicKey);
    EXPECT_FALSE(accepts(policy, ServerTrust(certs.selfSigned().chain), localhost));
}

TEST_F(KNSecurityPolicyTest, ACopyKeepsItsPinningAndLivesOnItsOwn)
{
    const auto& certs = certificates();
    KNSecurityPolicy policy;
    policy.setSSLPinningMode(KNSSLPinningMode::PublicKey);
    policy.setPinnedCertificates(der({ certs.leaf() }));
    policy.setValidatesCertificateChain(false);
    policy.setAllowInvalidCertificates(true);
    policy.setValidatesDomainName(false);

    const KNSecurityPolicy copy = policy;
    EXPECT_EQ(copy.SSLPinningMode(), KNSSLPinningMode::PublicKey);
    EXPECT_EQ(copy.pinnedCertificates(), policy.pinnedCertificates());
    EXPECT_EQ(copy.pinnedPublicKeys(), policy.pinnedPublicKeys());
    EXPECT_FALSE(copy.validatesCertificateChain());
    EXPECT_TRUE(copy.allowInvalidCertificates());
    EXPECT_FALSE(copy.validatesDomainName());
    EXPECT_TRUE(accepts(copy, ServerTrust(certs.leaf().chain), otherHost));
    EXPECT_FALSE(accepts(copy, ServerTrust(certs.selfSigned().chain), localhost));

    policy.setPinnedCertificates(der({ certs.selfSigned() }));
    policy.setSSLPinningMode(KNSSLPinningMode::Certificate);
    EXPECT_EQ(copy.SSLPinningMode(), KNSSLPinningMode::PublicKey);
    EXPECT_EQ(copy.pinnedCertificates(), der({ certs.leaf() }));
}

TEST_F(KNSecurityPolicyTest, AHandshakeTrustsThePinnedCertificatesOnlyWhenCertificatesArePinned)
{
    const auto& certs = certificates();
    KNSecurityPolicy policy;
    policy.setPinnedCertificates(
        QList<QByteArray> { certs.root().der, "not a certificate", certs.leaf().der });
    EXPECT_TRUE(policy.handshakeCACertificates().isEmpty());
    policy.setSSLPinningMode(KNSSLPinningMode::PublicKey);
    EXPECT_TRUE(policy.handshakeCACertificates().isEmpty());
    policy.setSSLPinningMode(KNSSLPinningMode::Certificate);
    EXPECT_EQ(policy.handshakeCACertificates(),
        (QList<QSslCertificate> { certs.root().certificate, certs.leaf().certificate }));
}

} // namespace
