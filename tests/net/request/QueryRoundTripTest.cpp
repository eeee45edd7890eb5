// Generated parameters, sent in queries and form bodies, come back from Python's query
// parser as exactly the flattened pairs.
#include "EchoSending.h"

#include "net/request/KNHTTPRequestSerializer.h"
#include "net/request/KNQueryString.h"
#include "net/support/EchoServer.h"

#include <QJsonArray>

#include <gtest/gtest.h>

#include <random>

using namespace net;
using namespace Qt::Literals::StringLiterals;

namespace {

// What a query can get wrong: separators, escapes, brackets, spaces and plus signs,
// multi-byte characters and pairs of surrogates.
const QStringList pieces { u"a"_s, u"Z"_s, u"0"_s, u"-._~"_s, u" "_s, u"+"_s, u"&"_s, u"="_s, u"#"_s, u"?"_s,
    u"%"_s, u"%41"_s, u"["_s, u"]"_s, u"[]"_s, u"/"_s, u";"_s, u"\""_s, u"'"_s, u"\t"_s, u"\n"_s, u"é"_s,
    u"€"_s, u"東京"_s, u"😀"_s, u"\u00a0"_s };

class QueryGenerator {
public:
    explicit QueryGenerator(unsigned seed) : m_random(seed) { }

    QVariantMap parameters()
    {
        QVariantMap map;
        const int entries = 1 + below(4);
        for (int i = 0; i < entries; ++i)
            map.insert(text(1), value(2));
        return map;
    }

private:
    int below(int n) { return int(m_random() % unsigned(n)); }

    QString text(int minimum)
    {
        QString result;
        const int length = minimum + below(6);
        for (int i = 0; i < length; ++i)
            result += pieces.at(below(int(pieces.size())));
        return result;
    }

    QVariant value(int depth)
    {
        switch (depth > 0 ? below(8) : below(4)) {
        case 0:
            return QVariant::fromValue(nullptr);
        case 1:
            return qint64(m_random()) - qint64(m_random());
        case 2:
            return below(2) == 0;
        case 4: {
            QVariantList list;
            for (int i = below(3); i > 0; --i)
                list.append(value(depth - 1));
            return list;
        }
        case 5: {
            QVariantMap map;
            for (int i = below(3); i > 0; --i)
                map.insert(text(0), value(depth - 1));
            return map;
        }
        case 6: {
            QSet<QString> set;
            for (int i = below(3); i > 0; --i)
                set.insert(text(0));
            return QVariant::fromValue(set);
        }
        default:
            return text(0);
        }
    }

    std::mt19937 m_random;
};

QJsonArray expectedPairs(const QVariantMap& parameters)
{
    QJsonArray pairs;
    for (const KNQueryStringPair& pair : KNQueryPairsFromDictionary(parameters)) {
        const bool bare = pair.value().metaType() == QMetaType::fromType<std::nullptr_t>();
        pairs.append(QJsonArray { KNQueryValueDescription(pair.field()),
            bare ? QString() : KNQueryValueDescription(pair.value()) });
    }
    return pairs;
}

} // namespace

TEST(QueryRoundTripTest, GeneratedParametersArriveAsTheirFlattenedPairs)
{
    mervane::test::EchoServer server;
    ASSERT_TRUE(server.isRunning());
    KNHTTPRequestSerializer serializer;
    QueryGenerator generator(20261207);
    constexpr int count = 300;
    QList<QVariantMap> inputs;
    QList<URLRequest> requests;
    for (int i = 0; i < count; ++i) {
        inputs.append(generator.parameters());
        const QByteArray method = i % 2 == 0 ? "GET" : "POST";
        const auto request
            = serializer.requestWithMethod(method, server.urlString(u"/round-trip"_s), inputs.last());
        ASSERT_TRUE(request) << i;
        requests.append(*request);
    }
    const QList<QJsonObject> answers = echotest::sendAll(requests);
    for (int i = 0; i < count; ++i) {
        const QJsonValue arrived = answers.at(i)[i % 2 == 0 ? u"query_pairs"_s : u"form_pairs"_s];
        EXPECT_EQ(arrived, expectedPairs(inputs.at(i)))
            << "input " << i << " sent as "
            << (i % 2 == 0 ? requests.at(i).url().toEncoded().toStdString()
                           : requests.at(i).httpBody().value_or("(no body)").toStdString());
    }
}
