#pragma once

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QString>

#include <optional>

namespace net {

/// A server's certificate chain as presented in a TLS handshake (leaf first), with the anchors
/// it is evaluated against: the system's trusted roots unless anchors were set.
class ServerTrust {
public:
    explicit ServerTrust(QList<QSslCertificate> chain);
    /// Data that does not decode as a certificate is left out.
    static ServerTrust fromDER(const QList<QByteArray>& chain);

    qsizetype certificateCount() const;
    /// The DER form of the certificate at `index`; empty outside the chain.
    QByteArray certificateDataAt(qsizetype index) const;

    void setAnchorCertificates(const QList<QByteArray>& der); // replaces the system roots

    /// True when the chain verifies (expiry, signatures, anchors) under the basic X.509 policy,
    /// or, with a host, under the TLS server policy for that host name.
    /// Set anchors are trusted as they are, whether or not they are self-signed roots.
    /// Validity dates are checked against platform::Clock.
    bool evaluate(const std::optional<QString>& sslHost) const;

    /// The certificate's public key as a DER SubjectPublicKeyInfo, so that equal keys give equal
    /// bytes; none outside the chain or when the key cannot be read.
    std::optional<QByteArray> publicKeyAt(qsizetype index) const; // PEM/DER export, for comparison

private:
    QList<QByteArray> m_chain;
    std::optional<QList<QByteArray>> m_anchors;
};

} // namespace net
