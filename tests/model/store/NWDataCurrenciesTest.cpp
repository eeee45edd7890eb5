#include "StoreTestSupport.h"

#include <thread>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using mervane::test::StoreTest;

namespace {

class CurrencyTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        store().setAppData(MVX_Model::makeEmpty());
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        StoreTest::TearDown();
    }
    void useBaseCurrency(const QString& code)
    {
        store().appData()->setBaseCurrency(code);
        store().exchangeRateUpdateOnBaseCurrencyChange();
    }
};

TEST_F(CurrencyTest, TableHas31RowsInItsOrder)
{
    const auto rows = NWData::makeCurrencyTable();
    ASSERT_EQ(rows.size(), 31);
    EXPECT_EQ(rows.first()->ShortName(), u"EUR"_s);
    EXPECT_EQ(rows.last()->ShortName(), u"ZAR"_s);
    EXPECT_EQ(store().supportedCurrencies().size(), 31);
    const auto lev = store().currencyFromCode(u"BGN"_s);
    ASSERT_TRUE(lev);
    EXPECT_EQ(lev->Symbol(), u"лв."_s);
    EXPECT_EQ(lev->FullName(), u"Bulgarian lev"_s);
    EXPECT_EQ(lev->ImageName(), u"BGN"_s);
    EXPECT_EQ(lev->exchangeRate(), 1.9558);
    EXPECT_EQ(store().currencyFromCode(u"CHF"_s)->Symbol(), u"CHF"_s);
    EXPECT_FALSE(store().currencyFromCode(u"XYZ"_s));
}

TEST_F(CurrencyTest, RatesAgainstTheDollar)
{
    useBaseCurrency(u"USD"_s);
    EXPECT_TRUE(store().supportsForeignCurrencies());
    EXPECT_EQ(store().localCurrency()->ShortName(), u"USD"_s);
    EXPECT_EQ(store().exchangeRates().size(), 30);
    EXPECT_FALSE(store().exchangeRates().contains(u"USD"_s));
    EXPECT_DOUBLE_EQ(store().getExchangeRateFor(u"EUR"_s), 1.1915);
    EXPECT_NEAR(store().getExchangeRateFor(u"GBP"_s), 1.5222946212, 1e-9);
    EXPECT_EQ(store().getExchangeRateFor(u"USD"_s), 1.0);
    EXPECT_EQ(store().getExchangeRateFor(u"XYZ"_s), 1.0);

    useBaseCurrency(u"EUR"_s);
    EXPECT_NEAR(store().getExchangeRateFor(u"USD"_s), 0.8392782207, 1e-9);
}

TEST_F(CurrencyTest, FeedRatesTakeEffectAfterRecalculation)
{
    useBaseCurrency(u"USD"_s);
    EXPECT_TRUE(store().setExchangeRateFor(u"GBP"_s, u"0.8000"_s));
    EXPECT_NEAR(store().getExchangeRateFor(u"GBP"_s), 1.5222946212, 1e-9); // not yet
    store().recalculateRates();
    EXPECT_DOUBLE_EQ(store().getExchangeRateFor(u"GBP"_s), 1.1915 / 0.8);

    // Texts that are not positive finite numbers, and codes outside the table, change nothing.
    for (const QString& bad :
        { u"abc"_s, u""_s, u"0"_s, u"-1.2"_s, u"inf"_s, u"nan"_s, u"1,5"_s, u"1e999"_s })
        EXPECT_FALSE(store().setExchangeRateFor(u"GBP"_s, bad)) << bad.toStdString();
    EXPECT_FALSE(store().setExchangeRateFor(u"XYZ"_s, u"2.0"_s));
    store().recalculateRates();
    EXPECT_EQ(store().currencyFromCode(u"GBP"_s)->exchangeRate(), 0.8);
    EXPECT_FALSE(store().exchangeRates().contains(u"XYZ"_s));

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // the feed's "." whatever the locale
    store().setExchangeRateFor(u"JPY"_s, u"150.25"_s);
    EXPECT_EQ(store().currencyFromCode(u"JPY"_s)->exchangeRate(), 150.25);
}

TEST_F(CurrencyTest, LocalCurrencyFromTheLocaleWithoutBaseCurrency)
{
    QLocale::setDefault(QLocale(u"de_CH"_s));
    store().setExchangeRates();
    EXPECT_EQ(store().localCurrencyCode(), u"CHF"_s);
    EXPECT_TRUE(store().supportsForeignCurrencies());
    EXPECT_DOUBLE_EQ(store().getExchangeRateFor(u"EUR"_s), 1.2016);
    EXPECT_FALSE(store().exchangeRateIsUpToDate());

    // A locale whose currency is outside the table: no foreign currencies.
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    store().setExchangeRateIsUpToDate(true);
    store().setExchangeRates();
    EXPECT_EQ(store().localCurrencyCode(), u"EGP"_s);
    EXPECT_FALSE(store().supportsForeignCurrencies());
    EXPECT_TRUE(store().exchangeRates().isEmpty());
    EXPECT_FALSE(store().exchangeRateIsUpToDate());
    EXPECT_EQ(store().localCurrency()->ShortName(), u"CHF"_s); // kept, as before
}

TEST_F(CurrencyTest, BaseCurrencyOutsideTheTableAfterOneInside)
{
    useBaseCurrency(u"GBP"_s);
    useBaseCurrency(u"XYZ"_s);
    EXPECT_FALSE(store().supportsForeignCurrencies());
    EXPECT_TRUE(store().exchangeRates().isEmpty());
    EXPECT_EQ(store().localCurrency()->ShortName(), u"GBP"_s);
    EXPECT_EQ(store().getExchangeRateFor(u"EUR"_s), 1.0);
    store().recalculateRates(); // no foreign currencies: nothing to do
    EXPECT_TRUE(store().exchangeRates().isEmpty());

    store().appData()->setBaseCurrency({});
    store().exchangeRateUpdateOnBaseCurrencyChange(); // no base currency: nothing at all
    EXPECT_FALSE(store().supportsForeignCurrencies());
}

TEST_F(CurrencyTest, LocalesOfCurrencies)
{
    EXPECT_EQ(store().localeIdentifierForCurrencyCode(u"USD"_s), u"en_US"_s);
    EXPECT_EQ(store().localeIdentifierForCurrencyCode(u"HKD"_s), u"zh_HK"_s);
    EXPECT_EQ(store().localeIdentifierForCurrencyCode(u"EUR"_s), QString());
    EXPECT_EQ(store().localeForCurrencyCode(u"EUR"_s), QLocale::c());
    EXPECT_EQ(store().localeForCurrencyCode(u"CHF"_s).territory(), QLocale::Switzerland);
    EXPECT_EQ(store().localeForCurrencyCode(u"EGP"_s).currencySymbol(QLocale::CurrencyIsoCode), u"EGP"_s);
    EXPECT_EQ(store().localeIdentifierForCurrencyCode(u"QQQ"_s), u"QQQ"_s);

    EXPECT_EQ(store().getLocale(), QLocale()); // no base currency
    store().appData()->setBaseCurrency(u"JPY"_s);
    EXPECT_EQ(store().getLocale().language(), QLocale::Japanese);
    EXPECT_EQ(store().getLocaleIdentifier(), u"ja"_s);
}

// The scan for codes outside the table is remembered per code; the answers must not depend
// on which thread asked first or how often.
TEST_F(CurrencyTest, LocalesOfCodesOutsideTheTableAgreeAcrossThreadsAndCalls)
{
    const QStringList codes { u"EGP"_s, u"QQQ"_s, u"KES"_s, u"UAH"_s };
    std::vector<QStringList> answers(4);
    std::vector<std::thread> threads;
    for (auto& answer : answers) {
        threads.emplace_back([&codes, &answer, this] {
            for (const QString& code : codes)
                answer.append(store().localeIdentifierForCurrencyCode(code));
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (const auto& answer : answers)
        EXPECT_EQ(answer, answers.front());

    for (qsizetype i = 0; i < codes.size(); ++i) {
        const QString again = store().localeIdentifierForCurrencyCode(codes.at(i));
        EXPECT_EQ(again, answers.front().at(i));
        if (codes.at(i) != u"QQQ"_s) {
            EXPECT_EQ(QLocale(again).currencySymbol(QLocale::CurrencyIsoCode), codes.at(i));
        }
    }
    EXPECT_EQ(answers.front().at(1), u"QQQ"_s);
}

} // namespace
