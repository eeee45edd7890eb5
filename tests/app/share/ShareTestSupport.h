#pragma once

#include "app/alerts/ExternalLinks.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <gtest/gtest.h>

#include <map>

namespace mervane::test {

/// A mailto: address taken apart by hand, as a mail program reads it (RFC 6068): the
/// recipients before the "?", then each "name=value" field between "&"s, percent-decoded
/// only once split. CRLF line breaks come back as "\n".
struct DecodedMail {
    QStringList recipients;
    std::map<QString, QString> fields;
    QStringList fieldOrder;
    bool hasFragment = false;
};

inline DecodedMail decodeMailto(const QUrl& url)
{
    const QByteArray encoded = url.toEncoded();
    EXPECT_TRUE(encoded.startsWith("mailto:")) << encoded.constData();
    DecodedMail mail;
    QByteArray rest = encoded.mid(7);
    const qsizetype hash = rest.indexOf('#');
    if (hash >= 0) {
        mail.hasFragment = true;
        rest.truncate(hash);
    }
    const qsizetype question = rest.indexOf('?');
    const QByteArray to = question >= 0 ? rest.left(question) : rest;
    for (const QByteArray& address : to.split(','))
        mail.recipients.append(QUrl::fromPercentEncoding(address));
    if (question < 0)
        return mail;
    for (const QByteArray& field : rest.mid(question + 1).split('&')) {
        const qsizetype equals = field.indexOf('=');
        const QString name = QUrl::fromPercentEncoding(field.left(equals));
        QString value = QUrl::fromPercentEncoding(equals >= 0 ? field.mid(equals + 1) : QByteArray());
        mail.fieldOrder.append(name);
        mail.fields[name] = value.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    return mail;
}

/// Keeps what ExternalLinks would open, answering with `answer`.
class CapturedLinks {
public:
    CapturedLinks()
    {
        ExternalLinks::setOpenerForTesting([this](const QUrl& url) {
            opened.append(url);
            return answer;
        });
    }
    ~CapturedLinks() { ExternalLinks::setOpenerForTesting({}); }
    CapturedLinks(const CapturedLinks&) = delete;
    CapturedLinks& operator=(const CapturedLinks&) = delete;

    QList<QUrl> opened;
    bool answer = true;
};

} // namespace mervane::test
