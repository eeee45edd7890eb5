#include "net/security/ServerTrust.h"

#include "platform/Clock.h"

#include <QHostAddress>
#include <QUrl>

#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

#include <memory>

namespace net {

namespace {

template <auto free> struct OpenSSLDeleter {
    template <typename T> void operator()(T* object) const { free(object); }
};

void freeCertificateStack(STACK_OF(X509) * stack)
{
    sk_X509_pop_free(stack, X509_free);
}

using Certificate = std::unique_ptr<X509, OpenSSLDeleter<X509_free>>;
using CertificateStack = std::unique_ptr<STACK_OF(X509), OpenSSLDeleter<freeCertificateStack>>;
using Store = std::unique_ptr<X509_STORE, OpenSSLDeleter<X509_STORE_free>>;
using StoreContext = std::unique_ptr<X509_STORE_CTX, OpenSSLDeleter<X509_STORE_CTX_free>>;

// Bytes after the certificate make the whole item undecodable: the policy compares chains by
// their bytes, so what it compares must be exactly one certificate.
Certificate decode(const QByteArray& der)
{
    const auto* begin = reinterpret_cast<const unsigned char*>(der.constData());
    const unsigned char* next = begin;
    Certificate certificate(d2i_X509(nullptr, &next, static_cast<long>(der.size())));
    if (certificate && next != begin + der.size())
        certificate.reset();
    return certificate;
}

bool setHost(X509_VERIFY_PARAM* parameters, const QString& host)
{
    if (QHostAddress address; address.setAddress(host))
        return X509_VERIFY_PARAM_set1_ip_asc(parameters, address.toString().toLatin1().constData()) == 1;
    const QByteArray ace = QUrl::toAce(host);
    if (ace.isEmpty())
        return false; // an empty name would switch the name check off instead of failing it
    return X509_VERIFY_PARAM_set1_host(parameters, ace.constData(), static_cast<size_t>(ace.size())) == 1;
}

} // namespace

ServerTrust::ServerTrust(QList<QSslCertificate> chain)
{
    for (const QSslCertificate& certificate : chain) {
        if (!certificate.isNull())
            m_chain.append(certificate.toDer());
    }
}

ServerTrust ServerTrust::fromDER(const QList<QByteArray>& chain)
{
    ServerTrust trust(QList<QSslCertificate> {});
    for (const QByteArray& der : chain) {
        if (decode(der))
            trust.m_chain.append(der);
    }
    return trust;
}

qsizetype ServerTrust::certificateCount() const
{
    return m_chain.size();
}

QByteArray ServerTrust::certificateDataAt(qsizetype index) const
{
    return m_chain.value(index);
}

void ServerTrust::setAnchorCertificates(const QList<QByteArray>& der)
{
    m_anchors = der;
}

bool ServerTrust::evaluate(const std::optional<QString>& sslHost) const
{
    if (m_chain.isEmpty())
        return false;
    const Store store(X509_STORE_new());
    if (!store)
        return false;
    if (m_anchors) {
        for (const QByteArray& der : *m_anchors) {
            if (const Certificate anchor = decode(der))
                X509_STORE_add_cert(store.get(), anchor.get()); // takes its own reference
        }
        // An anchor is trusted as given: pinning an intermediate or the leaf itself must work.
        X509_STORE_set_flags(store.get(), X509_V_FLAG_PARTIAL_CHAIN);
    } else if (X509_STORE_set_default_paths(store.get()) != 1) {
        return false;
    }

    const Certificate leaf = decode(m_chain.first());
    const CertificateStack untrusted(sk_X509_new_null());
    if (!leaf || !untrusted)
        return false;
    for (qsizetype index = 1; index < m_chain.size(); ++index) {
        Certificate certificate = decode(m_chain.at(index));
        if (!certificate || sk_X509_push(untrusted.get(), certificate.get()) <= 0)
            return false;
        certificate.release(); // the stack owns it now
    }

    const StoreContext context(X509_STORE_CTX_new());
    if (!context || X509_STORE_CTX_init(context.get(), store.get(), leaf.get(), untrusted.get()) != 1)
        return false;
    X509_VERIFY_PARAM* parameters = X509_STORE_CTX_get0_param(context.get());
    X509_VERIFY_PARAM_set_time(parameters, static_cast<time_t>(platform::Clock::now().toSecsSinceEpoch()));
    if (sslHost) {
        if (X509_STORE_CTX_set_purpose(context.get(), X509_PURPOSE_SSL_SERVER) != 1
            || !setHost(parameters, *sslHost))
            return false;
    }
    return X509_verify_cert(context.get()) == 1;
}

std::optional<QByteArray> ServerTrust::publicKeyAt(qsizetype index) const
{
    if (index < 0 || index >= m_chain.size())
        return std::nullopt;
    const Certificate certificate = decode(m_chain.at(index));
    EVP_PKEY* key = certificate ? X509_get0_pubkey(certificate.get()) : nullptr;
    unsigned char* bytes = nullptr;
    const int length = key ? i2d_PUBKEY(key, &bytes) : 0;
    if (length <= 0)
        return std::nullopt;
    QByteArray exported(reinterpret_cast<const char*>(bytes), length);
    OPENSSL_free(bytes);
    return exported;
}

} // namespace net
