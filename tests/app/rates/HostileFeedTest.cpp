#include "DownloadTest.h"

#include "net/support/EchoServer.h"
#include "support/TestCertificates.h"

#include <QThread>

using namespace Qt::Literals::StringLiterals;
using mervane::test::DownloadTest;
using mervane::test::goodFeed;
using mervane::test::LocalHttpServer;
using mervane::test::xmlReply;

namespace {

QByteArray feedWith(const QByteArray& cubes)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?><Cube><Cube time="2026-12-04">)" + cubes
        + "</Cube></Cube>";
}

class HostileFeedTest : public DownloadTest {
protected:
    double euroInDollars() const { return m_store.getExchangeRateFor(u"EUR"_s); }

    // A download from a server that is no rate feed at all ended and left the rates alone,
    // and the next trigger downloads again.
    void expectEndedWithNothingAppliedAndNextDownloadWorks(int done)
    {
        waitForEnd(done);
        EXPECT_FALSE(m_store.exchangeRateIsUpToDate());
        EXPECT_EQ(m_store.getExchangeRateFor(u"GBP"_s), m_gbpBefore);
        m_server.setReply(u"/next.xml"_s, xmlReply(goodFeed));
        setFeedURL(m_server.url(u"/next.xml"_s));
        m_download.retrieveExchangeRates();
        waitForEnd(done + 1);
        EXPECT_EQ(m_server.requestCount(u"/next.xml"_s), 1);
        EXPECT_TRUE(m_store.exchangeRateIsUpToDate());
    }
};

TEST_F(HostileFeedTest, RatesThatWouldMakeAmountsZeroOrInfiniteAndTheEurosOwnChangeNothing)
{
    const double euroBefore = euroInDollars();
    const std::pair<const char*, QByteArray> useless[] = {
        { "denormal", R"(<Cube currency="USD" rate="1.5e-320"/><Cube currency="GBP" rate="1e-320"/>)" },
        { "huge", R"(<Cube currency="USD" rate="1e300"/><Cube currency="GBP" rate="1e300"/>)" },
        { "just outside",
            R"(<Cube currency="USD" rate="0.00009999"/><Cube currency="GBP" rate="1000001"/>)" },
        { "the euro", R"(<Cube currency="EUR" rate="2.0"/>)" },
    };
    int done = 0;
    for (const auto& [name, cubes] : useless) {
        SCOPED_TRACE(name);
        m_server.setReply(u"/feed.xml"_s, xmlReply(feedWith(cubes)));
        m_download.retrieveExchangeRates();
        waitForEnd(++done);
        EXPECT_FALSE(m_store.exchangeRateIsUpToDate());
        EXPECT_EQ(m_store.getExchangeRateFor(u"GBP"_s), m_gbpBefore);
        EXPECT_EQ(euroInDollars(), euroBefore);
        EXPECT_EQ(m_store.currencyFromCode(u"EUR"_s)->exchangeRate(), 1.0);
    }

    // Usable rates beside the euro's are taken; the later of two for one code still wins.
    m_server.setReply(u"/feed.xml"_s,
        xmlReply(feedWith(R"(<Cube currency="EUR" rate="2.0"/><Cube currency="GBP" rate="1e-320"/>)"
                          R"(<Cube currency="GBP" rate="0.8"/><Cube currency="USD" rate="1e-320"/>)")));
    m_download.retrieveExchangeRates();
    waitForEnd(++done);
    EXPECT_TRUE(m_store.exchangeRateIsUpToDate());
    EXPECT_EQ(euroInDollars(), euroBefore) << "a feed's euro does not change the cross rates";
    EXPECT_DOUBLE_EQ(m_store.getExchangeRateFor(u"GBP"_s), euroBefore / 0.8);
}

TEST_F(HostileFeedTest, AnHttpsFeedRedirectedToPlainHttpFailsWithNothingApplied)
{
    TestCertificates certs;
    ASSERT_TRUE(certs.ok()) << certs.errorText().toStdString();
    // The system's trusted roots are read from this file: the test root stands in for them.
    const QByteArray rootsBefore = qgetenv("SSL_CERT_FILE");
    qputenv("SSL_CERT_FILE", certs.root().certificatePath.toLocal8Bit());
    LocalHttpServer secure;
    secure.useTls(certs.leaf().certificate, certs.leaf().key, certs.leaf().chain);
    m_server.setReply(u"/feed.xml"_s, xmlReply(goodFeed));
    secure.setReply(
        u"/feed.xml"_s, { 302, { { "Location", m_server.url(u"/feed.xml"_s).toEncoded() } }, {} });
    secure.setReply(u"/direct.xml"_s, xmlReply(goodFeed));

    setFeedURL(secure.url(u"/feed.xml"_s));
    m_download.retrieveExchangeRates();
    waitForEnd(1);
    EXPECT_EQ(secure.requestCount(u"/feed.xml"_s), 1);
    EXPECT_EQ(m_server.requestCount(u"/feed.xml"_s), 0);
    EXPECT_FALSE(m_store.exchangeRateIsUpToDate());
    EXPECT_EQ(m_store.getExchangeRateFor(u"GBP"_s), m_gbpBefore);

    // The same server without the redirect is trusted and read.
    setFeedURL(secure.url(u"/direct.xml"_s));
    m_download.retrieveExchangeRates();
    waitForEnd(2);
    EXPECT_TRUE(m_store.exchangeRateIsUpToDate());
    EXPECT_DOUBLE_EQ(m_store.getExchangeRateFor(u"GBP"_s), 1.5);

    if (rootsBefore.isNull())
        qunsetenv("SSL_CERT_FILE");
    else
        qputenv("SSL_CERT_FILE", rootsBefore);
}

TEST_F(HostileFeedTest, AServerSendingAByteAtATimeIsCutOffAtTheDeadline)
{
    mervane::test::EchoServer trickling;
    ASSERT_TRUE(trickling.isRunning());
    // Bytes come far more often than the time-out, so only a deadline from the request ends it.
    m_download.setTimeoutInterval(1.0);
    setFeedURL(trickling.url(u"/trickle/100"_s));
    m_download.retrieveExchangeRates();
    EXPECT_TRUE(m_busy);
    expectEndedWithNothingAppliedAndNextDownloadWorks(1);
}

TEST_F(HostileFeedTest, ABodyAnnouncedOverTheCapEndsTheDownloadAtOnce)
{
    // The announced length is refused before the body: the download does not wait for the
    // minute after which it would be given up.
    LocalHttpServer::Reply stalling
        = xmlReply(QByteArray(2 * ExchangeRateDownload::maximumDocumentBytes, ' '));
    stalling.holdAfterBodyBytes = 100;
    m_server.setReply(u"/feed.xml"_s, stalling);
    m_download.retrieveExchangeRates();
    expectEndedWithNothingAppliedAndNextDownloadWorks(1);
}

TEST_F(HostileFeedTest, AnEndlessBodyWhileTheMainThreadIsBusyEndsTheDownload)
{
    mervane::test::EchoServer streaming;
    ASSERT_TRUE(streaming.isRunning());
    setFeedURL(streaming.url(u"/stream/%1"_s.arg(128 << 20)));
    m_download.retrieveExchangeRates();
    // The main thread is what is busy here; the transfer goes on without it.
    QThread::msleep(300);
    expectEndedWithNothingAppliedAndNextDownloadWorks(1);
}

} // namespace
