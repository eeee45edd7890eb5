#pragma once

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QTemporaryDir>

/// Certificates made with the openssl command in a temporary folder that lives as long as this
/// object. All for 127.0.0.1 and "localhost" (subjectAltName) unless named otherwise.
class TestCertificates {
public:
    TestCertificates(); // makes everything below; GTEST_FAIL-free: check ok() and errorText()
    bool ok() const;
    QString errorText() const;

    struct Identity {
        QSslCertificate certificate;
        QSslKey key;
        QList<QSslCertificate> chain; // leaf first, without root
        QByteArray der;
        QString certificatePath;
        QString keyPath;
    };

    const Identity& selfSigned() const; // self-signed, localhost/127.0.0.1
    const Identity& otherHost() const; // self-signed for "other.invalid" only
    const Identity& expired() const; // self-signed, localhost, expired
    const Identity& root() const; // a CA
    const Identity& intermediate() const; // signed by root
    const Identity& leaf() const; // signed by intermediate, localhost; chain = {leaf, intermediate}

private:
    QTemporaryDir m_folder;
    QString m_errorText;
    Identity m_selfSigned;
    Identity m_otherHost;
    Identity m_expired;
    Identity m_root;
    Identity m_intermediate;
    Identity m_leaf;
};
