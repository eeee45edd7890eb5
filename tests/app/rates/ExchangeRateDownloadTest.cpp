#include "DownloadTest.h"

#include "app/commands/AppCommands.h"
#include "app/shell/AppDelegate.h"
#include "platform/UserDefaults.h"
#include "support/Eventually.h"

using namespace Qt::Literals::StringLiterals;
using mervane::test::LocalHttpServer;

namespace {

using mervane::test::DownloadTest;
using mervane::test::goodFeed;
using mervane::test::xmlReply;

TEST_F(DownloadTest, FeedRatesReachTheStoreInItsBaseCurrency)
{
    m_server.setReply(u"/feed.xml"_s, xmlReply(goodFeed));
    m_download.retrieveExchangeRates();
    EXPECT_TRUE(m_busy);
    waitForEnd(1);
    EXPECT_EQ(m_server.requestCount(u"/feed.xml"_s), 1);
    EXPECT_EQ(m_server.requests().front().method, "GET");
    EXPECT_TRUE(m_store.exchangeRateIsUpToDate());
    EXPECT_DOUBLE_EQ(m_store.getExchangeRateFor(u"GBP"_s), 1.5);
    EXPECT_DOUBLE_EQ(m_store.getExchangeRateFor(u"EUR"_s), 1.2);
}

TEST_F(DownloadTest, EveryFailureEndsInOneNotificationAndChangesNothing)
{
    LocalHttpServer::Reply truncated = xmlReply(goodFeed);
    truncated.closeAfterBodyBytes = goodFeed.size() / 2;
    LocalHttpServer::Reply silent;
    silent.neverAnswer = true;
    QByteArray huge = goodFeed;
    huge.insert(huge.indexOf("<Cube>"), QByteArray(ExchangeRateDownload::maximumDocumentBytes, ' '));

    const std::pair<const char*, LocalHttpServer::Reply> cases[] = {
        { "404", xmlReply("<error/>", 404) },
        { "HTML page", xmlReply("<html><body>Maintenance</body></html>", 200, "text/html") },
        { "malformed XML", xmlReply("<Cube><Cube currency='USD' rate='1.2'></Cube>") },
        { "truncated body", truncated },
        { "empty 200", xmlReply({}) },
        { "rate abc", xmlReply(QByteArray(goodFeed).replace("1.2000", "abc").replace("0.8000", "abc")) },
        { "rate 0", xmlReply(QByteArray(goodFeed).replace("1.2000", "0").replace("0.8000", "0")) },
        { "over 1 MiB", xmlReply(huge) },
        { "never answers", silent },
    };
    m_download.setTimeoutInterval(0.5);
    int done = 0;
    for (const auto& [name, reply] : cases) {
        SCOPED_TRACE(name);
        m_server.setReply(u"/feed.xml"_s, reply);
        const int requestsBefore = m_server.requestCount(u"/feed.xml"_s);
        m_download.retrieveExchangeRates();
        waitForEnd(++done);
        EXPECT_EQ(m_server.requestCount(u"/feed.xml"_s), requestsBefore + 1)
            << "the next trigger downloads again";
        EXPECT_FALSE(m_store.exchangeRateIsUpToDate());
        EXPECT_EQ(m_store.getExchangeRateFor(u"GBP"_s), m_gbpBefore);
    }
}

TEST_F(DownloadTest, TriggersDuringADownloadAreDropped)
{
    m_server.setReply(u"/feed.xml"_s, xmlReply(goodFeed));
    for (int i = 0; i < 3; ++i)
        m_download.retrieveExchangeRates();
    waitForEnd(1);
    EXPECT_EQ(m_server.requestCount(u"/feed.xml"_s), 1);
}

TEST_F(DownloadTest, FeedAddressFallsBackToTheDefault)
{
    EXPECT_EQ(ExchangeRateDownload::feedURL(), m_server.url(u"/feed.xml"_s));
    for (const QString& bad :
        { u""_s, u"not an address"_s, u"ftp://127.0.0.1/feed.xml"_s, u"file:///etc/passwd"_s }) {
        platform::UserDefaults::standard().setValue(ExchangeRateDownload::feedURLKey, bad);
        EXPECT_EQ(ExchangeRateDownload::feedURL(), ExchangeRateDownload::defaultFeedURL())
            << bad.toStdString();
    }
    EXPECT_EQ(ExchangeRateDownload::defaultFeedURL().scheme(), u"https"_s);
}

TEST_F(DownloadTest, TheApplicationsCommandsShareOneDownloadAndItsFlag)
{
    m_server.setReply(u"/feed.xml"_s, xmlReply(goodFeed));
    AppDelegate delegate(&m_store);
    AppCommands commands(delegate, &m_store);
    commands.retrieveAndUpdateExchangeRateTimerHandler();
    EXPECT_TRUE(delegate.gettingExchangeRate());
    commands.exchangeRateFetchAGainHandler({});
    commands.retrieveExchangeRates();
    EXPECT_EVENTUALLY(m_done == 1);
    EXPECT_EQ(m_server.requestCount(u"/feed.xml"_s), 1);
    EXPECT_TRUE(m_store.exchangeRateIsUpToDate());
}

} // namespace
