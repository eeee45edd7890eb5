#pragma once

#include "platform/XMLParser.h"

#include <QMap>
#include <QString>

#include <optional>

class NWData;

/// Reads the daily reference-rate document: every "Cube" element with exactly the two
/// attributes "currency" (an ISO code) and "rate" (units of that currency per euro, "." as
/// the decimal separator) gives one rate; the later of two rates for one code wins; every
/// other element is ignored. Nothing reaches the store before the whole document was read.
class ExchangeRateFeed : public platform::XMLParserDelegate {
public:
    /// Runs `parser` with namespace processing on. Returns the rate texts by currency code,
    /// or none when the parser rejected the document.
    static std::optional<QMap<QString, QString>> ratesIn(platform::XMLParser& parser);

    /// Hands the rates to the store, which keeps only table currencies other than the euro
    /// (the feed's base) and rates within `MVX_Currency`'s plausible range. When at least
    /// one was kept, the store rebuilds its rates in the base currency and counts them up to
    /// date; otherwise rates and the up-to-date flag stay as they were. Returns whether one
    /// was kept.
    static bool applyRates(NWData& store, const QMap<QString, QString>& rates);

    void parserDidStartDocument(platform::XMLParser& parser) override;
    void didStartElement(platform::XMLParser& parser, const QString& elementName, const QString& namespaceURI,
        const QString& qualifiedName, const QMap<QString, QString>& attributes) override;

    const QMap<QString, QString>& xmlExchange() const { return m_xmlExchange; }

private:
    QMap<QString, QString> m_xmlExchange;
};
