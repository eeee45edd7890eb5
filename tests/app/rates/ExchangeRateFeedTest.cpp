#include "app/rates/ExchangeRateFeed.h"
#include "model/data/MVX_Model.h"
#include "model/store/NWData.h"
#include "platform/XMLParser.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

std::optional<QMap<QString, QString>> ratesIn(const QByteArray& document)
{
    platform::XMLParser parser(document);
    return ExchangeRateFeed::ratesIn(parser);
}

QByteArray feed(const QByteArray& cubes)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<env:Envelope xmlns:env="urn:example:envelope" xmlns="urn:example:rates">
  <env:subject>Reference rates</env:subject>
  <Cube><Cube time="2026-12-04">)"
        + cubes + "</Cube></Cube></env:Envelope>";
}

} // namespace

TEST(ExchangeRateFeed, TakesOnlyCubesWithExactlyCurrencyAndRate)
{
    const auto rates = ratesIn(feed(R"(
        <Cube currency="USD" rate="1.2000"/>
        <Cube currency="GBP" rate="0.8000"/>
        <Cube currency="JPY" rate="180.5" extra="1"/>
        <Cube currency="CHF" value="0.93"/>
        <Cube currency="SEK"/>
        <Cube currency="USD" rate="1.2500"/>)"));
    ASSERT_TRUE(rates);
    EXPECT_EQ(*rates, (QMap<QString, QString> { { u"USD"_s, u"1.2500"_s }, { u"GBP"_s, u"0.8000"_s } }));

    EXPECT_EQ(ratesIn(feed({})), (QMap<QString, QString>()));
    EXPECT_FALSE(ratesIn(feed(R"(<Cube currency="USD" rate="1.2"/>)").chopped(5)));
    EXPECT_FALSE(ratesIn("<html><body>Service unavailable</body></html"));
    EXPECT_FALSE(ratesIn({}));
}

TEST(ExchangeRateFeed, AppliesRatesToTheStoreOnlyWhenOneIsUsable)
{
    NWData store;
    store.setAppData(MVX_Model::makeEmpty());
    store.appData()->setBaseCurrency(u"USD"_s);
    store.exchangeRateUpdateOnBaseCurrencyChange();
    const double gbpBefore = store.getExchangeRateFor(u"GBP"_s);

    for (const auto& useless : { QMap<QString, QString>(), QMap<QString, QString> { { u"GBP"_s, u"abc"_s } },
             QMap<QString, QString> { { u"GBP"_s, u"0"_s }, { u"XYZ"_s, u"2.0"_s } } }) {
        EXPECT_FALSE(ExchangeRateFeed::applyRates(store, useless));
        EXPECT_FALSE(store.exchangeRateIsUpToDate());
        EXPECT_EQ(store.getExchangeRateFor(u"GBP"_s), gbpBefore);
    }

    EXPECT_TRUE(ExchangeRateFeed::applyRates(
        store, { { u"USD"_s, u"1.2000"_s }, { u"GBP"_s, u"0.8000"_s }, { u"CHF"_s, u"-1"_s } }));
    EXPECT_TRUE(store.exchangeRateIsUpToDate());
    EXPECT_DOUBLE_EQ(store.getExchangeRateFor(u"GBP"_s), 1.5);
    EXPECT_DOUBLE_EQ(store.getExchangeRateFor(u"EUR"_s), 1.2);
}

TEST(ExchangeRateFeed, TheStoreKeepsOnlyPlausibleRatesPerEuroAndNeverTheEuros)
{
    NWData store;
    const auto gbp = store.currencyFromCode(u"GBP"_s);
    ASSERT_TRUE(gbp);
    const double before = gbp->exchangeRate();
    for (const QString& refused : { u"0.00009999"_s, u"1000000.5"_s, u"1e-320"_s, u"1.5e-320"_s, u"1e300"_s,
             u"nan"_s, u"inf"_s, u"-1"_s, u"0"_s, u""_s }) {
        EXPECT_FALSE(store.setExchangeRateFor(u"GBP"_s, refused)) << refused.toStdString();
        EXPECT_EQ(gbp->exchangeRate(), before) << refused.toStdString();
    }
    EXPECT_FALSE(store.setExchangeRateFor(u"EUR"_s, u"2.0"_s));
    EXPECT_EQ(store.currencyFromCode(u"EUR"_s)->exchangeRate(), 1.0);

    EXPECT_TRUE(store.setExchangeRateFor(u"GBP"_s, u"0.0001"_s));
    EXPECT_EQ(gbp->exchangeRate(), MVX_Currency::minimumRatePerEuro);
    EXPECT_TRUE(store.setExchangeRateFor(u"GBP"_s, u" 1000000 "_s));
    EXPECT_EQ(gbp->exchangeRate(), MVX_Currency::maximumRatePerEuro);
    EXPECT_FALSE(gbp->setExchangeRate(1e-320));
    EXPECT_EQ(gbp->exchangeRate(), MVX_Currency::maximumRatePerEuro);
}
