// Building requests: default header fields, request settings, where the parameters go.
#include "net/request/KNHTTPRequestSerializer.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSysInfo>

#include <gtest/gtest.h>

using namespace net;
using namespace Qt::Literals::StringLiterals;

namespace {

const QVariantMap query { { u"q"_s, u"a b&c"_s } };

URLRequest build(const KNHTTPRequestSerializer& serializer, const QByteArray& method, const QString& url,
    const QVariant& parameters, std::optional<Error>* error = nullptr)
{
    auto request = serializer.requestWithMethod(method, url, parameters, error);
    EXPECT_TRUE(request) << method.constData() << " " << url.toStdString();
    return request.value_or(URLRequest());
}

} // namespace

TEST(RequestSerializerTest, AcceptLanguageWeighsAtMostSixLanguages)
{
    const QStringList eight { u"de-CH"_s, u"de"_s, u"fr"_s, u"it"_s, u"en-GB"_s, u"en"_s, u"rm"_s, u"es"_s };
    EXPECT_EQ(
        KNAcceptLanguageHeader(eight), "de-CH;q=1, de;q=0.9, fr;q=0.8, it;q=0.7, en-GB;q=0.6, en;q=0.5");
    EXPECT_EQ(KNAcceptLanguageHeader({ u"en"_s }), "en;q=1");
    EXPECT_EQ(KNAcceptLanguageHeader({}), "");
    EXPECT_EQ(KNHTTPRequestSerializer().valueForHTTPHeaderField("accept-language"),
        KNAcceptLanguageHeader(QLocale().uiLanguages()));
}

TEST(RequestSerializerTest, UserAgentNamesTheProgramAndKernelInASCII)
{
    const QString version = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(u"Ünïcode–Straße"_s);
    const QByteArray agent = KNHTTPRequestSerializer().valueForHTTPHeaderField("User-Agent").value_or("");
    QCoreApplication::setApplicationVersion(version);
    EXPECT_EQ(
        agent, "net_request_tests/Unicode-Strasse (Linux " + QSysInfo::kernelVersion().toLatin1() + ")");
}

TEST(RequestSerializerTest, ParametersGoIntoTheQueryBeforeAnyFragmentOrIntoAFormBody)
{
    KNHTTPRequestSerializer serializer;
    EXPECT_EQ(build(serializer, "GET", u"http://h/p"_s, query).url().toEncoded(),
        QByteArray("http://h/p?q=a%20b%26c"));
    EXPECT_EQ(build(serializer, "get", u"http://h/p?x=1"_s, query).url().toEncoded(),
        QByteArray("http://h/p?x=1&q=a%20b%26c"));
    EXPECT_EQ(build(serializer, "DELETE", u"http://h/p#f"_s, query).url().toEncoded(),
        QByteArray("http://h/p?q=a%20b%26c#f"));
    EXPECT_EQ(build(serializer, "HEAD", u"http://h/p?x=1#f?g"_s, query).url().toEncoded(),
        QByteArray("http://h/p?x=1&q=a%20b%26c#f?g"));

    const URLRequest post = build(serializer, "POST", u"http://h/p?x=1#f"_s, query);
    EXPECT_EQ(post.url().toEncoded(), QByteArray("http://h/p?x=1#f"));
    EXPECT_EQ(post.httpMethod(), "POST");
    EXPECT_EQ(post.valueForHTTPHeaderField("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(post.httpBody(), "q=a%20b%26c");

    // Without parameters: the default fields only, no body, no content type, the address as given.
    const URLRequest bare = build(serializer, "POST", u"http://h/p"_s, QVariant());
    EXPECT_EQ(bare.url().toEncoded(), QByteArray("http://h/p"));
    EXPECT_FALSE(bare.httpBody());
    EXPECT_FALSE(bare.valueForHTTPHeaderField("Content-Type"));
    EXPECT_EQ(bare.allHTTPHeaderFields().size(), 2);

    // The methods that use the address can be changed; the comparison ignores case.
    serializer.setHTTPMethodsEncodingParametersInURI({ u"get"_s });
    EXPECT_EQ(build(serializer, "DELETE", u"http://h/p"_s, query).httpBody(), "q=a%20b%26c");
}

TEST(RequestSerializerTest, FieldsTheRequestOrTheSerializerAlreadyNamesAreKept)
{
    KNHTTPRequestSerializer serializer;
    serializer.setValue("text/plain; charset=utf-8", "content-type");
    serializer.setValue("Mine", "User-Agent");
    serializer.setValue("1", "X-Gone");
    serializer.setValue(std::nullopt, "x-gone");
    EXPECT_FALSE(serializer.valueForHTTPHeaderField("X-Gone"));
    EXPECT_EQ(build(serializer, "POST", u"http://h/"_s, query).valueForHTTPHeaderField("Content-Type"),
        "text/plain; charset=utf-8");

    URLRequest own(QUrl(u"http://h/"_s));
    own.setHttpMethod("PUT");
    own.setValue("Theirs", "user-agent");
    const auto request = serializer.requestBySerializingRequest(own, query, nullptr);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->valueForHTTPHeaderField("User-Agent"), "Theirs");
    EXPECT_EQ(request->allHTTPHeaderFields().size(), 3);
}

TEST(RequestSerializerTest, AuthorizationIsBasicOrTokenUntilCleared)
{
    KNHTTPRequestSerializer serializer;
    serializer.clearAuthorizationHeader();
    serializer.setAuthorizationHeaderFieldWithUsername(u"user"_s, u"pass"_s);
    EXPECT_EQ(serializer.valueForHTTPHeaderField("Authorization"), "Basic dXNlcjpwYXNz");
    serializer.setAuthorizationHeaderFieldWithUsername(u"zoë"_s, u"a:b"_s);
    EXPECT_EQ(serializer.valueForHTTPHeaderField("Authorization"), "Basic em/DqzphOmI=");
    serializer.setAuthorizationHeaderFieldWithToken(u"t0k"_s);
    EXPECT_EQ(serializer.valueForHTTPHeaderField("Authorization"), "Token token=\"t0k\"");
    serializer.clearAuthorizationHeader();
    EXPECT_FALSE(
        build(serializer, "GET", u"http://h/"_s, QVariant()).valueForHTTPHeaderField("Authorization"));
}

TEST(RequestSerializerTest, OnlySettingsSetOnTheSerializerReachTheRequest)
{
    KNHTTPRequestSerializer serializer;
    const URLRequest untouched = build(serializer, "GET", u"http://h/"_s, QVariant());
    EXPECT_EQ(untouched.timeoutInterval(), URLRequest::defaultTimeoutInterval);
    EXPECT_TRUE(untouched.allowsCellularAccess());
    EXPECT_TRUE(untouched.httpShouldHandleCookies());

    // Setting a zero value still counts as set.
    serializer.setTimeoutInterval(7.5);
    serializer.setHttpShouldHandleCookies(false);
    serializer.setAllowsCellularAccess(false);
    serializer.setCachePolicy(1);
    serializer.setHttpShouldUsePipelining(true);
    serializer.setNetworkServiceType(0);
    EXPECT_EQ(serializer.mutableObservedChangedKeyPaths().size(), 6);
    const URLRequest set = build(serializer, "GET", u"http://h/"_s, QVariant());
    EXPECT_EQ(set.timeoutInterval(), 7.5);
    EXPECT_FALSE(set.httpShouldHandleCookies());
    EXPECT_FALSE(set.allowsCellularAccess());
    EXPECT_EQ(set.cachePolicy(), 1u);
    EXPECT_TRUE(set.httpShouldUsePipelining());
}

TEST(RequestSerializerTest, FailuresReturnNoRequest)
{
    KNHTTPRequestSerializer serializer;
    serializer.setStringEncoding(u"ISO-8859-1"_s);
    std::optional<Error> error;
    for (const QByteArray& method : { QByteArray("GET"), QByteArray("POST") }) {
        error.reset();
        EXPECT_FALSE(serializer.requestWithMethod(
            method, u"http://h/"_s, QVariantMap { { u"k"_s, u"5 €"_s } }, &error));
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->is(KNURLRequestSerializationErrorDomain, badURL));
    }
    EXPECT_FALSE(serializer.requestWithMethod("GET", u"http://h/"_s, QVariantMap { { u"€"_s, 1 } }));
    // Latin-1 that fits: one byte per character.
    EXPECT_EQ(
        build(serializer, "POST", u"http://h/"_s, QVariantMap { { u"k"_s, u"é"_s } }).httpBody(), "k=%E9");

    // A query-string block decides alone, and its error fails the request.
    const Error blockError(u"test"_s, 7);
    serializer.setQueryStringSerializationWithBlock(
        [&](const URLRequest& request, const QVariant& parameters, std::optional<Error>* slot) -> QString {
            if (parameters.toMap().contains(u"bad"_s)) {
                *slot = blockError;
                return QString();
            }
            return QString::fromLatin1(request.httpMethod()) + u"-custom"_s;
        });
    EXPECT_EQ(build(serializer, "GET", u"http://h/"_s, query).url().toEncoded(),
        QByteArray("http://h/?GET-custom"));
    error.reset();
    EXPECT_FALSE(
        serializer.requestWithMethod("GET", u"http://h/"_s, QVariantMap { { u"bad"_s, 1 } }, &error));
    EXPECT_EQ(error, blockError);

    // Back to a style; one this serializer does not know builds no query at all.
    serializer.setQueryStringSerializationWithStyle(3);
    EXPECT_EQ(build(serializer, "GET", u"http://h/"_s, query).url().toEncoded(), QByteArray("http://h/"));
    EXPECT_FALSE(build(serializer, "POST", u"http://h/"_s, query).httpBody());
}
