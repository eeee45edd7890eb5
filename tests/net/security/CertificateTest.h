#pragma once

#include "net/security/ServerTrust.h"
#include "support/TestCertificates.h"

#include <gtest/gtest.h>

#include <memory>

/// Makes the test certificates once per test program; a test fails when they could not be made.
class CertificateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_certificates = std::make_unique<TestCertificates>(); }
    static void TearDownTestSuite() { s_certificates.reset(); }
    void SetUp() override { ASSERT_TRUE(s_certificates->ok()) << s_certificates->errorText().toStdString(); }

    static const TestCertificates& certificates() { return *s_certificates; }

    /// `chain` evaluated against `anchors` instead of the system's roots.
    static net::ServerTrust anchored(
        const QList<QSslCertificate>& chain, const QList<TestCertificates::Identity>& anchors)
    {
        net::ServerTrust trust(chain);
        QList<QByteArray> der;
        for (const TestCertificates::Identity& anchor : anchors)
            der.append(anchor.der);
        trust.setAnchorCertificates(der);
        return trust;
    }

private:
    static inline std::unique_ptr<TestCertificates> s_certificates;
};
