#include "MultipartTestSupport.h"

#include "EchoSending.h"
#include "net/request/KNHTTPRequestSerializer.h"

#include "net/support/EchoServer.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Expected {
    QString name;
    std::optional<QString> fileName;
    QByteArray body;
};

/// Generated parts: names full of what could break a header, bodies holding line breaks
/// and boundary-like text, from memory, devices and files.
class Generator {
public:
    explicit Generator(quint32 seed, QString folder) : m_random(seed), m_folder(std::move(folder)) { }

    QString name()
    {
        static const QString alphabet = u"abcXYZ019 _-.\"\\\r\n;=%:/"_s;
        QString text;
        const int length = int(m_random.bounded(12));
        for (int i = 0; i < length; ++i)
            text += alphabet[int(m_random.bounded(alphabet.size()))];
        return text;
    }

    QByteArray body()
    {
        static const QByteArray pieces[]
            = { "\r\n", "--", "\r\n--Boundary+", "\n", "\r", "Content-Type: x\r\n\r\n" };
        QByteArray bytes;
        const int length = int(m_random.bounded(m_random.bounded(4) == 0 ? 40000 : 300));
        while (bytes.size() < length) {
            if (m_random.bounded(5) == 0)
                bytes += pieces[m_random.bounded(int(std::size(pieces)))];
            else
                bytes += char(m_random.bounded(256));
        }
        return bytes;
    }

    void appendPart(net::KNMultipartFormData& formData, std::vector<Expected>& expected)
    {
        Expected part { name(), std::nullopt, body() };
        switch (m_random.bounded(4)) {
        case 0:
            formData.appendPartWithFormData(part.body, part.name);
            break;
        case 1:
            part.fileName = name();
            formData.appendPartWithFileData(
                part.body, part.name, *part.fileName, u"application/octet-stream"_s);
            break;
        case 2: {
            part.fileName = name();
            auto device = std::make_shared<QBuffer>();
            device->setData(part.body);
            formData.appendPartWithInputStream(
                device, part.name, *part.fileName, part.body.size(), u"application/octet-stream"_s);
            break;
        }
        default: {
            const QString path = u"%1/file%2.bin"_s.arg(m_folder).arg(m_files++);
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(part.body);
            file.close();
            part.fileName = name();
            std::optional<net::Error> error;
            EXPECT_TRUE(formData.appendPartWithFileURL(
                QUrl::fromLocalFile(path), part.name, *part.fileName, u"application/octet-stream"_s, &error));
            break;
        }
        }
        expected.push_back(part);
    }

    int partCount() { return 1 + int(m_random.bounded(5)); }

private:
    QRandomGenerator m_random;
    QString m_folder;
    int m_files = 0;
};

QString escaped(QString text)
{
    return text.replace(u'"', u"%22"_s)
        .replace(u'\\', u"%5C"_s)
        .replace(u'\r', u"%0D"_s)
        .replace(u'\n', u"%0A"_s);
}

} // namespace

TEST(MultipartRoundTripTest, GeneratedBodiesParseIntoTheirPartsOnTheServer)
{
    mervane::test::EchoServer server;
    ASSERT_TRUE(server.isRunning());
    QTemporaryDir dir;
    Generator generator(0x5eed, dir.path());
    const auto serializer = net::KNHTTPRequestSerializer::serializer();
    QList<net::URLRequest> requests;
    std::vector<std::vector<Expected>> expectations;
    for (int round = 0; round < 30; ++round) {
        std::vector<Expected> expected;
        const int count = generator.partCount();
        const auto request = serializer->multipartFormRequestWithMethod(
            "POST", server.urlString(u"/round/%1"_s.arg(round)), {}, [&](net::KNMultipartFormData& formData) {
                for (int i = 0; i < count; ++i)
                    generator.appendPart(formData, expected);
            });
        ASSERT_TRUE(request);
        requests.append(*request);
        expectations.push_back(std::move(expected));
    }
    const QList<QJsonObject> answers = echotest::sendAll(requests);
    for (qsizetype round = 0; round < answers.size(); ++round) {
        SCOPED_TRACE(round);
        const QVariantMap echo = answers[round].toVariantMap();
        const std::vector<Expected>& expected = expectations[size_t(round)];
        EXPECT_EQ(echo.value(u"body_size"_s).toByteArray(),
            *requests[round].valueForHTTPHeaderField("Content-Length"));
        const QVariantMap multipart = echo.value(u"multipart"_s).toMap();
        EXPECT_EQ(multipart.value(u"defects"_s).toList(), QVariantList());
        const QVariantList parts = multipart.value(u"parts"_s).toList();
        ASSERT_EQ(parts.size(), qsizetype(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(i);
            const QVariantMap part = parts[qsizetype(i)].toMap();
            const Expected& want = expected[i];
            EXPECT_EQ(part.value(u"defects"_s).toList(), QVariantList());
            EXPECT_EQ(part.value(u"name"_s).toString(), escaped(want.name));
            // Python's file-name reader drops surrounding blanks.
            if (want.fileName) {
                EXPECT_EQ(part.value(u"filename"_s).toString(), escaped(*want.fileName).trimmed());
            } else {
                EXPECT_TRUE(part.value(u"filename"_s).isNull());
            }
            EXPECT_EQ(part.value(u"size"_s).toLongLong(), want.body.size());
            EXPECT_EQ(part.value(u"sha256"_s).toByteArray(),
                QCryptographicHash::hash(want.body, QCryptographicHash::Sha256).toHex());
            EXPECT_EQ(part.value(u"headers"_s).toList().size(), want.fileName ? 2 : 1);
        }
    }
}
