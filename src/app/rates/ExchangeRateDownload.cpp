#include "app/rates/ExchangeRateDownload.h"

#include "app/rates/ExchangeRateFeed.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "net/operation/KNHTTPRequestOperation.h"
#include "net/serialization/KNXMLParserResponseSerializer.h"
#include "platform/Dispatch.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "platform/XMLParser.h"

#include <QPointer>

#include <algorithm>
#include <chrono>

using namespace Qt::Literals::StringLiterals;

QUrl ExchangeRateDownload::defaultFeedURL()
{
    // The rates flow into saved records, so they come over an authenticated connection.
    return QUrl(u"https://www.ecb.europa.eu/stats/eurofxref/eurofxref-daily.xml"_s);
}

QUrl ExchangeRateDownload::feedURL()
{
    const QUrl url(platform::UserDefaults::standard().string(feedURLKey), QUrl::StrictMode);
    if (url.isValid() && (url.scheme() == "https"_L1 || url.scheme() == "http"_L1) && !url.host().isEmpty())
        return url;
    return defaultFeedURL();
}

ExchangeRateDownload::ExchangeRateDownload(
    NWData* store, std::function<bool()> busy, std::function<void(bool)> setBusy, QObject* parent)
    : QObject(parent), m_store(store), m_busy(std::move(busy)), m_setBusy(std::move(setBusy))
{
    // The transfer's own time-out starts again with every byte: a server sending one a
    // second would keep the download, and with it the busy flag, for ever.
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (const auto operation = m_operation.lock())
            operation->cancel(); // ends in the failure handler
    });
}

void ExchangeRateDownload::retrieveExchangeRates()
{
    if (m_busy())
        return;
    m_setBusy(true);

    auto operation = std::make_shared<KNHTTPRequestOperation>(net::URLRequest(feedURL(), m_timeoutInterval));
    operation->setResponseSerializer(KNXMLParserResponseSerializer::serializer());
    operation->setMaximumResponseLength(maximumDocumentBytes);
    const QPointer<ExchangeRateDownload> self(this);
    operation->setCompletionBlockWithSuccess(
        [self](KNHTTPRequestOperation&, const QVariant& responseObject) {
            if (self)
                self->finishWithDocument(responseObject);
        },
        [self](KNHTTPRequestOperation&, const net::Error&) {
            // Nothing is shown: the next timer tick tries again.
            if (self)
                self->finishWithoutRates();
        });
    m_operation = operation;
    m_deadline.start(std::chrono::milliseconds(qint64(std::clamp(m_timeoutInterval, 0.001, 86400.0) * 1000)));
    operation->start();
}

void ExchangeRateDownload::finishWithDocument(const QVariant& responseObject)
{
    m_deadline.stop();
    const auto parser = responseObject.value<std::shared_ptr<platform::XMLParser>>();
    const auto rates = parser ? ExchangeRateFeed::ratesIn(*parser) : std::nullopt;
    if (!rates) {
        finishWithoutRates();
        return;
    }
    ExchangeRateFeed::applyRates(*m_store, *rates);
    postDone();
}

void ExchangeRateDownload::finishWithoutRates()
{
    m_deadline.stop();
    m_setBusy(false);
    postDone();
}

void ExchangeRateDownload::postDone()
{
    platform::runLater(this,
        [] { platform::NotificationCenter::defaultCenter().post(notifications::exchangeRateParserDone); });
}
