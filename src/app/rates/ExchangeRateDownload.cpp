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
}

void ExchangeRateDownload::retrieveExchangeRates()
{
    if (m_busy())
        return;
    m_setBusy(true);

    auto operation = std::make_shared<KNHTTPRequestOperation>(net::URLRequest(feedURL(), m_timeoutInterval));
    operation->setResponseSerializer(KNXMLParserResponseSerializer::serializer());
    const std::weak_ptr<KNHTTPRequestOperation> weakOperation = operation;
    operation->setDownloadProgressBlock([weakOperation](qint64, qint64 totalBytesRead, qint64 totalExpected) {
        if (totalBytesRead <= maximumDocumentBytes && totalExpected <= maximumDocumentBytes)
            return;
        if (const auto running = weakOperation.lock())
            running->cancel();
    });
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
    operation->start();
}

void ExchangeRateDownload::finishWithDocument(const QVariant& responseObject)
{
    // Progress reaches the main thread after the bytes, so a fast transfer may have ended
    // before its progress could stop it.
    const auto parser = responseObject.value<std::shared_ptr<platform::XMLParser>>();
    const bool usable = parser && parser->data().size() <= maximumDocumentBytes;
    const auto rates = usable ? ExchangeRateFeed::ratesIn(*parser) : std::nullopt;
    if (!rates) {
        finishWithoutRates();
        return;
    }
    ExchangeRateFeed::applyRates(*m_store, *rates);
    postDone();
}

void ExchangeRateDownload::finishWithoutRates()
{
    m_setBusy(false);
    postDone();
}

void ExchangeRateDownload::postDone()
{
    platform::runLater(this,
        [] { platform::NotificationCenter::defaultCenter().post(notifications::exchangeRateParserDone); });
}
