#pragma once

#include <QMetaType>
#include <QString>
#include <QUrl>
#include <QVariantMap>

#include <optional>

namespace net {

/// The error domain of the transfer itself (connection, time-out, cancellation, trust).
inline const QString urlErrorDomain = QStringLiteral("kitnet.error.url");

/// User-info keys every part of the client uses.
inline const QString localizedDescriptionKey = QStringLiteral("localizedDescription");
inline const QString localizedFailureReasonErrorKey = QStringLiteral("localizedFailureReason");
/// The earlier error a later one carries (a `net::Error`).
inline const QString underlyingErrorKey = QStringLiteral("underlyingError");
/// The address that failed (a `QUrl`).
inline const QString failingURLErrorKey = QStringLiteral("failingURL");

/// Codes of `urlErrorDomain` the client reports; the serializers use two of them in their
/// own domain.
enum URLErrorCode : qint64 {
    unknown = -1,
    cancelled = -999,
    badURL = -1000,
    timedOut = -1001,
    unsupportedURL = -1002,
    cannotFindHost = -1003,
    cannotConnectToHost = -1004,
    networkConnectionLost = -1005,
    httpTooManyRedirects = -1007,
    notConnectedToInternet = -1009,
    badServerResponse = -1011,
    userCancelledAuthentication = -1012,
    cannotDecodeContentData = -1016,
    requestBodyStreamExhausted = -1021,
    secureConnectionRequired = -1022,
    dataLengthExceedsMaximum = -1103,
    secureConnectionFailed = -1200,
    serverCertificateUntrusted = -1202,
    cannotWriteToFile = -3003,
};

/// A failure as a value: a domain, a code and what the reporter added in its user info.
/// "No error" is an absent `std::optional<Error>`, never a special value of this class.
class Error {
public:
    Error() = default;
    Error(QString domain, qint64 code, QVariantMap userInfo = {});

    const QString& domain() const { return m_domain; }
    qint64 code() const { return m_code; }
    const QVariantMap& userInfo() const { return m_userInfo; }

    /// The text under `localizedDescriptionKey`, else a generic sentence naming the domain
    /// and code.
    QString localizedDescription() const;
    /// The error under `underlyingErrorKey`, if any.
    std::optional<Error> underlyingError() const;
    /// The address under `failingURLErrorKey`; empty when there is none.
    QUrl failingURL() const;

    bool is(const QString& domain, qint64 code) const { return m_domain == domain && m_code == code; }

    friend bool operator==(const Error& a, const Error& b)
    {
        return a.m_domain == b.m_domain && a.m_code == b.m_code && a.m_userInfo == b.m_userInfo;
    }

private:
    QString m_domain;
    qint64 m_code = 0;
    QVariantMap m_userInfo;
};

/// An error of `urlErrorDomain` with `code`, the failing address when it is valid, and a
/// description when one is given.
Error urlError(qint64 code, const QUrl& failingURL, const QString& description = {});

} // namespace net

Q_DECLARE_METATYPE(net::Error)
