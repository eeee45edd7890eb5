#pragma once

#include "net/security/ServerTrust.h"

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QString>

#include <memory>
#include <optional>

enum class KNSSLPinningMode : quint64 { None = 0, PublicKey = 1, Certificate = 2 };

/// Decides whether a server's trust is accepted for a host: the chain must verify, the host name
/// must match (unless the caller opts out with setValidatesDomainName(false)), and in the pinning
/// modes the chain must carry the pinned certificates or public keys. A copy keeps everything.
class KNSecurityPolicy {
public:
    KNSecurityPolicy() = default;

    /// The "*.cer" files at the top of the application's resources (":/"), read once per process.
    static QList<QByteArray> defaultPinnedCertificates();
    /// Pins nothing; checks the chain against the system's roots and the host name.
    static std::shared_ptr<KNSecurityPolicy> defaultPolicy();
    /// Pins defaultPinnedCertificates() in `mode`.
    static std::shared_ptr<KNSecurityPolicy> policyWithPinningMode(KNSSLPinningMode mode);

    KNSSLPinningMode SSLPinningMode() const { return m_SSLPinningMode; }
    void setSSLPinningMode(KNSSLPinningMode mode);

    /// DER data; absent pins nothing.
    const std::optional<QList<QByteArray>>& pinnedCertificates() const { return m_pinnedCertificates; }
    /// Also derives pinnedPublicKeys(): the certificates' keys in order, leaving out those whose
    /// key cannot be read; absent certificates make the keys absent.
    void setPinnedCertificates(std::optional<QList<QByteArray>> der);

    bool validatesCertificateChain() const { return m_validatesCertificateChain; }
    void setValidatesCertificateChain(bool validates);
    bool allowInvalidCertificates() const { return m_allowInvalidCertificates; }
    void setAllowInvalidCertificates(bool allow);
    bool validatesDomainName() const { return m_validatesDomainName; }
    void setValidatesDomainName(bool validates);

    /// DER SubjectPublicKeyInfo of each pinned certificate's key.
    const std::optional<QList<QByteArray>>& pinnedPublicKeys() const { return m_pinnedPublicKeys; }

    /// Without a domain: with validatesDomainName() on, no host name can match, so the trust
    /// counts as invalid.
    bool evaluateServerTrust(net::ServerTrust& trust) const;
    /// May replace the trust's anchors with the pinned certificates (certificate pinning).
    bool evaluateServerTrust(net::ServerTrust& trust, const std::optional<QString>& domain) const;

    /// The CA list a TLS handshake under this policy should use: the pinned certificates in
    /// certificate-pinning mode, none (meaning the system's) otherwise.
    QList<QSslCertificate> handshakeCACertificates() const;

private:
    bool isValid(const net::ServerTrust& trust, const std::optional<QString>& domain) const;
    bool evaluateCertificatePinning(net::ServerTrust& trust, const std::optional<QString>& domain) const;
    bool evaluatePublicKeyPinning(const net::ServerTrust& trust) const;

    KNSSLPinningMode m_SSLPinningMode = KNSSLPinningMode::None;
    std::optional<QList<QByteArray>> m_pinnedCertificates;
    bool m_validatesCertificateChain = true;
    bool m_allowInvalidCertificates = false;
    bool m_validatesDomainName = true;
    std::optional<QList<QByteArray>> m_pinnedPublicKeys;
};
