#include "net/security/KNSecurityPolicy.h"

#include <QDir>
#include <QFile>

#include <algorithm>

QList<QByteArray> KNSecurityPolicy::defaultPinnedCertificates()
{
    static const QList<QByteArray> certificates = [] {
        QList<QByteArray> found;
        const QDir resources(QStringLiteral(":/"));
        const QStringList names = resources.entryList({ QStringLiteral("*.cer") }, QDir::Files, QDir::Name);
        for (const QString& name : names) {
            QFile file(resources.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                found.append(file.readAll());
        }
        return found;
    }();
    return certificates;
}

std::shared_ptr<KNSecurityPolicy> KNSecurityPolicy::defaultPolicy()
{
    return std::make_shared<KNSecurityPolicy>();
}

std::shared_ptr<KNSecurityPolicy> KNSecurityPolicy::policyWithPinningMode(KNSSLPinningMode mode)
{
    auto policy = std::make_shared<KNSecurityPolicy>();
    policy->setSSLPinningMode(mode);
    policy->setPinnedCertificates(defaultPinnedCertificates());
    return policy;
}

// The host check stays as it is: choosing what to pin says nothing about which host is meant.
void KNSecurityPolicy::setSSLPinningMode(KNSSLPinningMode mode)
{
    m_SSLPinningMode = mode;
}

void KNSecurityPolicy::setPinnedCertificates(std::optional<QList<QByteArray>> der)
{
    m_pinnedCertificates = std::move(der);
    if (!m_pinnedCertificates) {
        m_pinnedPublicKeys.reset();
        return;
    }
    QList<QByteArray> keys;
    for (const QByteArray& certificate : *m_pinnedCertificates) {
        if (const auto key = net::ServerTrust::fromDER({ certificate }).publicKeyAt(0))
            keys.append(*key);
    }
    m_pinnedPublicKeys = std::move(keys);
}

void KNSecurityPolicy::setValidatesCertificateChain(bool validates)
{
    m_validatesCertificateChain = validates;
}

void KNSecurityPolicy::setAllowInvalidCertificates(bool allow)
{
    m_allowInvalidCertificates = allow;
}

void KNSecurityPolicy::setValidatesDomainName(bool validates)
{
    m_validatesDomainName = validates;
}

bool KNSecurityPolicy::evaluateServerTrust(net::ServerTrust& trust) const
{
    return evaluateServerTrust(trust, std::nullopt);
}

bool KNSecurityPolicy::evaluateServerTrust(
    net::ServerTrust& trust, const std::optional<QString>& domain) const
{
    if (!isValid(trust, domain) && !m_allowInvalidCertificates)
        return false;
    switch (m_SSLPinningMode) {
    case KNSSLPinningMode::None:
        return true;
    case KNSSLPinningMode::Certificate:
        return evaluateCertificatePinning(trust, domain);
    case KNSSLPinningMode::PublicKey:
        return evaluatePublicKeyPinning(trust);
    }
    return false;
}

QList<QSslCertificate> KNSecurityPolicy::handshakeCACertificates() const
{
    QList<QSslCertificate> certificates;
    if (m_SSLPinningMode != KNSSLPinningMode::Certificate || !m_pinnedCertificates)
        return certificates;
    for (const QByteArray& der : *m_pinnedCertificates) {
        if (QSslCertificate certificate(der, QSsl::Der); !certificate.isNull())
            certificates.append(certificate);
    }
    return certificates;
}

bool KNSecurityPolicy::isValid(const net::ServerTrust& trust, const std::optional<QString>& domain) const
{
    if (!m_validatesDomainName)
        return trust.evaluate(std::nullopt);
    // Checking the host was asked for; without a host name that check cannot pass.
    return domain && trust.evaluate(domain);
}

// Even with invalid certificates allowed, the chain must verify against the pinned anchors.
bool KNSecurityPolicy::evaluateCertificatePinning(
    net::ServerTrust& trust, const std::optional<QString>& domain) const
{
    const QList<QByteArray> pinned = m_pinnedCertificates.value_or(QList<QByteArray>());
    trust.setAnchorCertificates(pinned);
    if (!isValid(trust, domain))
        return false;
    if (!m_validatesCertificateChain)
        return true;
    for (qsizetype index = 0; index < trust.certificateCount(); ++index) {
        if (!pinned.contains(trust.certificateDataAt(index)))
            return false;
    }
    return true;
}

bool KNSecurityPolicy::evaluatePublicKeyPinning(const net::ServerTrust& trust) const
{
    QList<QByteArray> chainKeys;
    for (qsizetype index = 0; index < trust.certificateCount(); ++index) {
        if (const auto key = trust.publicKeyAt(index))
            chainKeys.append(*key);
    }
    if (!m_validatesCertificateChain && !chainKeys.isEmpty())
        chainKeys.resize(1); // only the leaf has to be pinned
    const QList<QByteArray> pinned = m_pinnedPublicKeys.value_or(QList<QByteArray>());
    qsizetype matches = 0;
    for (const QByteArray& key : chainKeys)
        matches += std::count(pinned.cbegin(), pinned.cend(), key);
    if (matches == 0)
        return false;
    return !m_validatesCertificateChain || matches == trust.certificateCount();
}
