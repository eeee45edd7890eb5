// Server trust: the security policy (or the authentication-challenge block) decides for the
// request's host whether a TLS peer is accepted.
#include "net/operation/KNURLConnectionOperation.h"

#include "net/security/KNSecurityPolicy.h"
#include "net/security/ServerTrust.h"

#include "platform/Strings.h"

#include <QMutexLocker>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>

using namespace Qt::Literals::StringLiterals;

std::shared_ptr<KNSecurityPolicy> KNURLConnectionOperation::securityPolicy() const
{
    QMutexLocker locker(&m_lock);
    return m_securityPolicy;
}

void KNURLConnectionOperation::setSecurityPolicy(std::shared_ptr<KNSecurityPolicy> policy)
{
    QMutexLocker locker(&m_lock);
    m_securityPolicy = policy ? std::move(policy) : KNSecurityPolicy::defaultPolicy();
}

void KNURLConnectionOperation::prepareTrust(QNetworkRequest& request) const
{
    if (request.url().scheme() != u"https"_s)
        return;
    const QList<QSslCertificate> authorities = securityPolicy()->handshakeCACertificates();
    if (authorities.isEmpty())
        return;
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates(authorities);
    request.setSslConfiguration(configuration);
}

void KNURLConnectionOperation::attachTrust(QNetworkReply* reply, QObject* context)
{
    m_trustRefused = false;
    const std::weak_ptr<KNURLConnectionOperation> weakSelf = self();
    connect(reply, &QNetworkReply::sslErrors, context, [weakSelf](const QList<QSslError>&) {
        if (auto operation = weakSelf.lock())
            operation->answerServerTrust(false);
    });
    connect(reply, &QNetworkReply::encrypted, context, [weakSelf] {
        if (auto operation = weakSelf.lock())
            operation->answerServerTrust(true);
    });
}

void KNURLConnectionOperation::answerServerTrust(bool handshakeDone)
{
    const auto policy = securityPolicy();
    AuthenticationChallengeBlock block;
    {
        QMutexLocker locker(&m_lock);
        block = m_authenticationChallenge;
    }
    // A finished handshake is looked at again only for pins: the handshake checked the rest.
    if (handshakeDone && (block || policy->SSLPinningMode() == KNSSLPinningMode::None))
        return;
    auto trust = std::make_shared<net::ServerTrust>(m_reply->sslConfiguration().peerCertificateChain());
    // The trust is judged against the authorities the handshake used: the pinned
    // certificates when the policy pins certificates.
    if (const QList<QSslCertificate> authorities = policy->handshakeCACertificates();
        !authorities.isEmpty()) {
        QList<QByteArray> anchors;
        for (const QSslCertificate& authority : authorities)
            anchors.append(authority.toDer());
        trust->setAnchorCertificates(anchors);
    }
    const QString host = m_reply->url().host();
    bool accepted = false;
    if (block) {
        net::AuthenticationChallenge challenge;
        challenge.host = host;
        challenge.port = m_reply->url().port(443);
        challenge.serverTrust = trust;
        accepted
            = block(challenge).disposition == net::AuthenticationChallengeAnswer::Disposition::UseCredential;
    } else {
        accepted = policy->evaluateServerTrust(*trust, host);
    }
    if (accepted) {
        if (!handshakeDone)
            m_reply->ignoreSslErrors();
        return;
    }
    m_trustRefused = true;
    if (handshakeDone) {
        detachReply(true);
        didFailWithError(*trustFailure());
    }
}

std::optional<net::Error> KNURLConnectionOperation::trustFailure() const
{
    if (!m_trustRefused)
        return std::nullopt;
    return net::urlError(net::serverCertificateUntrusted, m_request.url(),
        platform::Strings::tr("The certificate of the server is not trusted for %1.")
            .arg(m_request.url().host()));
}
