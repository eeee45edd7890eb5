#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

class KNHTTPRequestOperation;
class NWData;

/// Keeps the store's exchange rates current: one download of the daily reference-rate
/// document at a time, its rates handed to the store once the whole document was read, and
/// exactly one "ExchangeRateParserDone" at the end of every download, whatever happened.
/// Main thread only; the transfer runs on the HTTP client's thread.
class ExchangeRateDownload : public QObject {
    Q_OBJECT
public:
    /// "ExchangeRateFeedURL": where the document is fetched; absent or not a valid http(s)
    /// address means `defaultFeedURL`.
    static inline const QString feedURLKey = QStringLiteral("ExchangeRateFeedURL");
    static QUrl defaultFeedURL();
    static QUrl feedURL();
    /// A reply longer than this is no rate document; the transfer is stopped on the network
    /// thread before more is kept.
    static constexpr qint64 maximumDocumentBytes = 1 << 20;

    /// `busy` reads and `setBusy` writes the application's download flag, which the
    /// observer of "ExchangeRateParserDone" clears. `store` is not owned.
    ExchangeRateDownload(NWData* store, std::function<bool()> busy, std::function<void(bool)> setBusy,
        QObject* parent = nullptr);

    /// Starts a download unless one is running; a trigger meanwhile is dropped.
    void retrieveExchangeRates();

    /// Seconds from the request after which a download is cancelled, however the server
    /// keeps it going; 60 unless set. Applies to the downloads started afterwards.
    double timeoutInterval() const { return m_timeoutInterval; }
    void setTimeoutInterval(double seconds) { m_timeoutInterval = seconds; }

private:
    void finishWithDocument(const QVariant& responseObject);
    void finishWithoutRates();
    void postDone();

    NWData* m_store;
    std::function<bool()> m_busy;
    std::function<void(bool)> m_setBusy;
    double m_timeoutInterval = 60.0;
    QTimer m_deadline;
    std::weak_ptr<KNHTTPRequestOperation> m_operation;
};
