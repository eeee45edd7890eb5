#include "app/rates/ExchangeRateFeed.h"

#include "model/store/NWData.h"

using namespace Qt::Literals::StringLiterals;

std::optional<QMap<QString, QString>> ExchangeRateFeed::ratesIn(platform::XMLParser& parser)
{
    ExchangeRateFeed feed;
    parser.setShouldProcessNamespaces(true);
    parser.setDelegate(&feed);
    const bool parsed = parser.parse();
    parser.setDelegate(nullptr);
    if (!parsed)
        return std::nullopt;
    return feed.m_xmlExchange;
}

bool ExchangeRateFeed::applyRates(NWData& store, const QMap<QString, QString>& rates)
{
    bool applied = false;
    for (auto it = rates.cbegin(); it != rates.cend(); ++it)
        applied = store.setExchangeRateFor(it.key(), it.value()) || applied;
    if (!applied)
        return false;
    store.recalculateRates();
    store.setExchangeRateIsUpToDate(true);
    return true;
}

void ExchangeRateFeed::parserDidStartDocument(platform::XMLParser& parser)
{
    static_cast<void>(parser);
    m_xmlExchange.clear();
}

void ExchangeRateFeed::didStartElement(platform::XMLParser& parser, const QString& elementName,
    const QString& namespaceURI, const QString& qualifiedName, const QMap<QString, QString>& attributes)
{
    static_cast<void>(parser), static_cast<void>(elementName), static_cast<void>(namespaceURI);
    if (qualifiedName != "Cube"_L1 || attributes.size() != 2)
        return;
    const auto currency = attributes.constFind(u"currency"_s);
    const auto rate = attributes.constFind(u"rate"_s);
    if (currency == attributes.cend() || rate == attributes.cend())
        return;
    m_xmlExchange.insert(currency.value(), rate.value());
}
