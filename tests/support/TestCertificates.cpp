#include "support/TestCertificates.h"

#include <QFile>
#include <QProcess>

namespace {

const QString configuration = QStringLiteral(R"([req]
distinguished_name = dn
[dn]
[ca]
default_ca = backdating
[backdating]
database = index.txt
serial = serial.txt
new_certs_dir = .
default_md = sha256
policy = any_name
copy_extensions = none
[any_name]
commonName = supplied
[self_ext]
basicConstraints = critical,CA:TRUE
subjectKeyIdentifier = hash
subjectAltName = DNS:localhost,IP:127.0.0.1
[other_ext]
basicConstraints = critical,CA:TRUE
subjectKeyIdentifier = hash
subjectAltName = DNS:other.invalid
[root_ext]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
[intermediate_ext]
basicConstraints = critical,CA:TRUE,pathlen:0
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
[leaf_ext]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = serverAuth
subjectAltName = DNS:localhost,IP:127.0.0.1
authorityKeyIdentifier = keyid
)");

class Maker {
public:
    explicit Maker(const QString& folder, QString& errorText) : m_folder(folder), m_errorText(errorText) { }

    QString path(const QString& file) const { return m_folder + u'/' + file; }

    bool write(const QString& file, const QByteArray& bytes)
    {
        QFile out(path(file));
        if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size())
            return true;
        m_errorText = QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString());
        return false;
    }

    bool openssl(const QStringList& arguments)
    {
        QProcess process;
        process.setWorkingDirectory(m_folder);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral("openssl"), arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0) {
            m_errorText = QStringLiteral("openssl %1 failed (%2): %3")
                              .arg(arguments.join(u' '), process.errorString(),
                                  QString::fromLocal8Bit(process.readAll()));
            return false;
        }
        return true;
    }

    // Elliptic-curve keys: generating them costs next to nothing, so every test process can
    // afford its own set.
    bool key(const QString& name)
    {
        return openssl({ QStringLiteral("genpkey"), QStringLiteral("-algorithm"), QStringLiteral("EC"),
            QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:P-256"), QStringLiteral("-out"),
            name + u".key" });
    }

    bool request(const QString& name, const QString& subject)
    {
        return key(name)
            && openssl({ QStringLiteral("req"), QStringLiteral("-new"), QStringLiteral("-key"),
                name + u".key", QStringLiteral("-subj"), subject, QStringLiteral("-config"),
                QStringLiteral("openssl.cnf"), QStringLiteral("-out"), name + u".csr" });
    }

    bool selfSigned(const QString& name, const QString& subject, const QString& extensions)
    {
        return key(name)
            && openssl({ QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-new"),
                QStringLiteral("-key"), name + u".key", QStringLiteral("-subj"), subject,
                QStringLiteral("-days"), QStringLiteral("3650"), QStringLiteral("-config"),
                QStringLiteral("openssl.cnf"), QStringLiteral("-extensions"), extensions,
                QStringLiteral("-out"), name + u".pem" });
    }

    // Only the ca command takes a validity period that lies wholly in the past.
    bool expired(const QString& name, const QString& subject)
    {
        return request(name, subject) && write(QStringLiteral("index.txt"), {})
            && write(QStringLiteral("serial.txt"), "01\n")
            && openssl({ QStringLiteral("ca"), QStringLiteral("-batch"), QStringLiteral("-config"),
                QStringLiteral("openssl.cnf"), QStringLiteral("-selfsign"), QStringLiteral("-keyfile"),
                name + u".key", QStringLiteral("-in"), name + u".csr", QStringLiteral("-startdate"),
                QStringLiteral("20000101000000Z"), QStringLiteral("-enddate"),
                QStringLiteral("20010101000000Z"), QStringLiteral("-extensions"), QStringLiteral("self_ext"),
                QStringLiteral("-notext"), QStringLiteral("-out"), name + u".pem" });
    }

    bool signedBy(const QString& name, const QString& subject, const QString& extensions,
        const QString& issuer, int serial)
    {
        return request(name, subject)
            && openssl(
                { QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), name + u".csr",
                    QStringLiteral("-CA"), issuer + u".pem", QStringLiteral("-CAkey"), issuer + u".key",
                    QStringLiteral("-set_serial"), QString::number(serial), QStringLiteral("-days"),
                    QStringLiteral("3650"), QStringLiteral("-extfile"), QStringLiteral("openssl.cnf"),
                    QStringLiteral("-extensions"), extensions, QStringLiteral("-out"), name + u".pem" });
    }

    bool load(TestCertificates::Identity& identity, const QString& name)
    {
        identity.certificatePath = path(name + u".pem");
        identity.keyPath = path(name + u".key");
        const QList<QSslCertificate> certificates
            = QSslCertificate::fromPath(identity.certificatePath, QSsl::Pem);
        QFile keyFile(identity.keyPath);
        if (certificates.size() != 1 || !keyFile.open(QIODevice::ReadOnly)) {
            m_errorText = QStringLiteral("cannot read back %1").arg(name);
            return false;
        }
        identity.certificate = certificates.first();
        identity.der = identity.certificate.toDer();
        identity.chain = { identity.certificate };
        identity.key = QSslKey(keyFile.readAll(), QSsl::Ec, QSsl::Pem, QSsl::PrivateKey);
        if (identity.key.isNull()) {
            m_errorText = QStringLiteral("cannot read the key of %1").arg(name);
            return false;
        }
        return true;
    }

private:
    QString m_folder;
    QString& m_errorText;
};

} // namespace

TestCertificates::TestCertificates()
{
    if (!m_folder.isValid()) {
        m_errorText = QStringLiteral("no temporary folder: %1").arg(m_folder.errorString());
        return;
    }
    Maker make(m_folder.path(), m_errorText);
    const bool made = make.write(QStringLiteral("openssl.cnf"), configuration.toUtf8())
        && make.selfSigned(
            QStringLiteral("self"), QStringLiteral("/CN=localhost"), QStringLiteral("self_ext"))
        && make.selfSigned(
            QStringLiteral("other"), QStringLiteral("/CN=other.invalid"), QStringLiteral("other_ext"))
        && make.expired(QStringLiteral("expired"), QStringLiteral("/CN=localhost"))
        && make.selfSigned(
            QStringLiteral("root"), QStringLiteral("/CN=Mervane Test Root"), QStringLiteral("root_ext"))
        && make.signedBy(QStringLiteral("intermediate"), QStringLiteral("/CN=Mervane Test Intermediate"),
            QStringLiteral("intermediate_ext"), QStringLiteral("root"), 2)
        && make.signedBy(QStringLiteral("leaf"), QStringLiteral("/CN=localhost"), QStringLiteral("leaf_ext"),
            QStringLiteral("intermediate"), 3)
        && make.load(m_selfSigned, QStringLiteral("self")) && make.load(m_otherHost, QStringLiteral("other"))
        && make.load(m_expired, QStringLiteral("expired")) && make.load(m_root, QStringLiteral("root"))
        && make.load(m_intermediate, QStringLiteral("intermediate"))
        && make.load(m_leaf, QStringLiteral("leaf"));
    if (made)
        m_leaf.chain = { m_leaf.certificate, m_intermediate.certificate };
    else if (m_errorText.isEmpty())
        m_errorText = QStringLiteral("the test certificates could not be made");
}

bool TestCertificates::ok() const
{
    return m_errorText.isEmpty();
}

QString TestCertificates::errorText() const
{
    return m_errorText;
}

const TestCertificates::Identity& TestCertificates::selfSigned() const
{
    return m_selfSigned;
}

const TestCertificates::Identity& TestCertificates::otherHost() const
{
    return m_otherHost;
}

const TestCertificates::Identity& TestCertificates::expired() const
{
    return m_expired;
}

const TestCertificates::Identity& TestCertificates::root() const
{
    return m_root;
}

const TestCertificates::Identity& TestCertificates::intermediate() const
{
    return m_intermediate;
}

const TestCertificates::Identity& TestCertificates::leaf() const
{
    return m_leaf;
}
