#pragma once

#include "app/rates/ExchangeRateDownload.h"
#include "model/ModelNotifications.h"
#include "model/data/MVX_Model.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "support/Eventually.h"
#include "support/LocalHttpServer.h"
#include "support/TempHomeTest.h"

#include <gtest/gtest.h>

namespace mervane::test {

inline const QByteArray goodFeed = R"(<?xml version="1.0" encoding="UTF-8"?>
<env:Envelope xmlns:env="urn:example:envelope" xmlns="urn:example:rates">
  <Cube><Cube time="2026-12-04">
    <Cube currency="USD" rate="1.2000"/>
    <Cube currency="GBP" rate="0.8000"/>
  </Cube></Cube>
</env:Envelope>)";

inline LocalHttpServer::Reply xmlReply(
    const QByteArray& body, int status = 200, const QByteArray& type = "text/xml")
{
    LocalHttpServer::Reply reply;
    reply.status = status;
    reply.headers = { { "Content-Type", type } };
    reply.body = body;
    return reply;
}

/// The application's side of a download: its flag, and the observer that clears it when the
/// download has ended, as the application delegate does. The store's base currency is USD;
/// the feed address is `m_server`'s "/feed.xml".
class DownloadTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_store.setAppData(MVX_Model::makeEmpty());
        m_store.appData()->setBaseCurrency(QStringLiteral("USD"));
        m_store.exchangeRateUpdateOnBaseCurrencyChange();
        m_gbpBefore = m_store.getExchangeRateFor(QStringLiteral("GBP"));
        setFeedURL(m_server.url(QStringLiteral("/feed.xml")));
        platform::NotificationCenter::defaultCenter().addObserver(
            &m_observer, notifications::exchangeRateParserDone, [this](const platform::Notification&) {
                m_busy = false;
                ++m_done;
            });
    }

    static void setFeedURL(const QUrl& url)
    {
        platform::UserDefaults::standard().setValue(ExchangeRateDownload::feedURLKey, url.toString());
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
    ExchangeRateDownload m_download { &m_store, [this] { return m_busy; },
        [this](bool busy) { m_busy = busy; } };
};

} // namespace mervane::test
