#include "app/commands/AppCommands.h"
#include "app/rates/ExchangeRateDownload.h"
#include "app/shell/AppDelegate.h"
#include "model/ModelNotifications.h"
#include "model/data/MVX_Model.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "support/Eventually.h"
#include "support/LocalHttpServer.h"
#include "support/TempHomeTest.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using mervane::test::LocalHttpServer;

namespace {

const QByteArray goodFeed = R"(<?xml version="1.0" encoding="UTF-8"?>
<env:Envelope xmlns:env="urn:example:envelope" xmlns="urn:example:rates">
  <Cube><Cube time="2026-12-04">
    <Cube currency="USD" rate="1.2000"/>
    <Cube currency="GBP" rate="0.8000"/>
  </Cube></Cube>
</env:Envelope>)";

LocalHttpServer::Reply xmlReply(const QByteArray& body, int status = 200, const QByteArray& type = "text/xml")
{
    LocalHttpServer::Reply reply;
    reply.status = status;
    reply.headers = { { "Content-Type", type } };
    reply.body = body;
    return reply;
}

// The application's side of a download: its flag, and the observer that clears it when the
// download has ended, as the application delegate does.
class DownloadTest : public mervane::test::TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_store.setAppData(MVX_Model::makeEmpty());
        m_store.appData()->setBaseCurrency(u"USD"_s);
        m_store.exchangeRateUpdateOnBaseCurrencyChange();
        m_gbpBefore = m_store.getExchangeRateFor(u"GBP"_s);
        platform::UserDefaults::standard().setValue(ExchangeRateDownload::feedURLKey, m_server.url(u"/feed.xml"_s).toString());
        platform::NotificationCenter::defaultCenter().addObserver(
            &m_observer, notifications::exchangeRateParserDone, [this](const platform::Notification&) {
                m_busy = false;
                ++m_done;
            });
    }

    // Waits for the end of the download and for any second notification it might post.
    void waitForEnd(int done)
    {
        EXPECT_EVENTUALLY(m_done >= done);
        QCoreApplication::processEvents();
        EXPECT_EQ(m_done, done);
        EXPECT_FALSE(m_busy);
    }

    LocalHttpServer m_server;
    NWData m_store;
    QObject m_observer;
    bool m_busy = false;
    int m_done = 0;
    double m_gbpBefore = 0;
    ExchangeRateDownload m_download { &m_store, [this] { return m_busy; }, [this](bool busy) { m_busy = busy; } };
};

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
        EXPECT_EQ(m_server.requestCount(u"/feed.xml"_s), requestsBefore + 1) << "the next trigger downloads again";
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
    for (const QString& bad : { u""_s, u"not an address"_s, u"ftp://127.0.0.1/feed.xml"_s, u"file:///etc/passwd"_s }) {
        platform::UserDefaults::standard().setValue(ExchangeRateDownload::feedURLKey, bad);
        EXPECT_EQ(ExchangeRateDownload::feedURL(), ExchangeRateDownload::defaultFeedURL()) << bad.toStdString();
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
