#include "net/core/NetError.h"
#include "net/core/URLRequest.h"
#include "net/core/URLResponse.h"

#include <gtest/gtest.h>

#include <QBuffer>

using namespace Qt::Literals::StringLiterals;

TEST(URLResponse, TakesTypeCharsetAndLengthFromTheHeaderFields)
{
    const auto response = net::URLResponse::http(QUrl(u"http://127.0.0.1/a"_s), 200,
        { { "content-TYPE", "Text/XML; foo=bar; charset=\"ISO-8859-1\"" }, { "Content-Length", " 42 " } });
    EXPECT_TRUE(response.isHTTP());
    EXPECT_EQ(response.mimeType(), u"text/xml"_s);
    EXPECT_EQ(response.textEncodingName(), u"ISO-8859-1"_s);
    EXPECT_EQ(response.expectedContentLength(), 42);
    EXPECT_EQ(response.valueForHTTPHeaderField("Content-Type")->left(8), "Text/XML");

    const auto bare = net::URLResponse::http(QUrl(u"http://127.0.0.1/b"_s), 204, {});
    EXPECT_TRUE(bare.mimeType().isNull());
    EXPECT_TRUE(bare.textEncodingName().isNull());
    EXPECT_EQ(bare.expectedContentLength(), -1);
    EXPECT_FALSE(bare.valueForHTTPHeaderField("ETag"));

    EXPECT_EQ(net::URLResponse::localizedStringForStatusCode(404), u"not found"_s);
    EXPECT_EQ(net::URLResponse::localizedStringForStatusCode(599), u"server error"_s);
}

TEST(URLRequest, HeaderFieldsIgnoreCaseAndBodyKindsExcludeEachOther)
{
    net::URLRequest request(QUrl(u"http://127.0.0.1/"_s));
    EXPECT_EQ(request.httpMethod(), "GET");
    EXPECT_EQ(request.timeoutInterval(), 60.0);
    request.setValue("bytes=5-", "Range");
    request.setValue("bytes=9-", "range");
    request.addValue("bytes=20-", "RANGE");
    ASSERT_EQ(request.allHTTPHeaderFields().size(), 1);
    EXPECT_EQ(request.allHTTPHeaderFields().front().first, "Range");
    EXPECT_EQ(request.valueForHTTPHeaderField("range"), QByteArray("bytes=9-,bytes=20-"));
    request.setValue(std::nullopt, "RANGE");
    EXPECT_TRUE(request.allHTTPHeaderFields().isEmpty());

    EXPECT_FALSE(request.httpBody());
    request.setHttpBody(QByteArray());
    EXPECT_TRUE(request.httpBody()) << "an empty body is a body";
    request.setHttpBodyStream(std::make_shared<QBuffer>());
    EXPECT_FALSE(request.httpBody());
    request.setHttpBody(QByteArray("x"));
    EXPECT_FALSE(request.httpBodyStream());
}

TEST(NetError, CarriesItsCauseAndTheFailingAddress)
{
    const QUrl url(u"http://127.0.0.1/feed"_s);
    const net::Error cause = net::urlError(net::timedOut, url, u"The request timed out."_s);
    EXPECT_EQ(cause.failingURL(), url);
    EXPECT_EQ(cause.localizedDescription(), u"The request timed out."_s);
    EXPECT_FALSE(cause.underlyingError());

    const net::Error later(
        u"kitnet.error.test"_s, 7, { { net::underlyingErrorKey, QVariant::fromValue(cause) } });
    ASSERT_TRUE(later.underlyingError());
    EXPECT_EQ(*later.underlyingError(), cause);
    EXPECT_TRUE(later.localizedDescription().contains(u"kitnet.error.test"_s));
    EXPECT_TRUE(net::urlError(net::cancelled, QUrl()).userInfo().isEmpty());
}
