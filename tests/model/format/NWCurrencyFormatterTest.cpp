#include "model/format/NWCurrencyFormatter.h"
#include "model/data/MVX_Model.h"
#include "model/store/NWData.h"

#include "support/TempHomeTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kParentheses = u"(¤00.0)"_s;

class NWCurrencyFormatterTest : public mervane::test::TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        // Without a base currency the user's locale decides; fix it whatever the machine's is.
        m_previousLocale = QLocale();
        QLocale::setDefault(QLocale(u"en_US"_s));
        NWData::shared()->setAppData(MVX_Model::makeEmpty());
    }
    void TearDown() override
    {
        NWData::shared()->setAppData(nullptr);
        QLocale::setDefault(m_previousLocale);
        TempHomeTest::TearDown();
    }
    static void useBase(const QString& code) { NWData::shared()->appData()->setBaseCurrency(code); }
    static QString text(double amount, int digits = -1, const QString& negative = kParentheses)
    {
        return NWCurrencyFormatter(digits, negative).stringFromNumber(amount);
    }

private:
    QLocale m_previousLocale;
};

TEST_F(NWCurrencyFormatterTest, ShortFormsForAUsDollarBase)
{
    useBase(u"USD"_s);
    const auto shortText
        = [](double amount) { return NWCurrencyFormatter::currencyFormattedString(amount, true); };
    EXPECT_EQ(shortText(2'500'000), u"$2.50M"_s);
    EXPECT_EQ(shortText(2'512'345), u"$2.512M"_s);
    EXPECT_EQ(shortText(12'345'678), u"$12.35M"_s);
    EXPECT_EQ(shortText(123'456'789), u"$123.5M"_s);
    EXPECT_EQ(shortText(250'000), u"$250.0K"_s);
    EXPECT_EQ(shortText(99'999), u"$99,999"_s);
    EXPECT_EQ(shortText(-2'500'000), u"($2,500,000)"_s);
    // The comparisons are strict.
    EXPECT_EQ(shortText(1'000'000), u"$1,000.0K"_s);
    EXPECT_EQ(shortText(100'000), u"$100,000"_s);
    EXPECT_EQ(shortText(std::nan("")), NWCurrencyFormatter::currencyFormattedString(std::nan(""), false));

    EXPECT_EQ(NWCurrencyFormatter::currencyFormattedString(2'500'000, false), u"$2,500,000"_s);
    EXPECT_EQ(NWCurrencyFormatter::currencyFormattedString(-1'234.5, false), u"($1,234)"_s);
    // Half-even rounding.
    EXPECT_EQ(NWCurrencyFormatter::currencyFormattedString(2'500'000.5, false), u"$2,500,000"_s);
    EXPECT_EQ(NWCurrencyFormatter::currencyFormattedString(2'500'001.5, false), u"$2,500,002"_s);
}

TEST_F(NWCurrencyFormatterTest, FractionDigitsDefaultToTheCurrencysOwn)
{
    useBase(u"USD"_s);
    EXPECT_EQ(text(1234.5), u"$1,234.50"_s);
    EXPECT_EQ(text(1234.5, 0), u"$1,234"_s);
    EXPECT_EQ(text(1235.5, 0), u"$1,236"_s);
    EXPECT_EQ(text(0.125, -1), u"$0.12"_s);
    EXPECT_EQ(text(1.25, 1), u"$1.2"_s);
    EXPECT_EQ(text(-0.5, 2), u"($0.50)"_s);
    EXPECT_EQ(NWCurrencyFormatter().stringFromNumber(-1234.5), u"-$1,234.50"_s);

    useBase(u"JPY"_s);
    EXPECT_EQ(text(1234.5), u"¥1,234"_s);
    EXPECT_EQ(text(-1234.5), u"(¥1,234)"_s);
    EXPECT_EQ(text(2.5, 3), u"¥2.5"_s);
}

TEST_F(NWCurrencyFormatterTest, BaseCurrencyTakesTheTableSymbolAndLocale)
{
    useBase(u"CHF"_s);
    EXPECT_EQ(NWCurrencyFormatter::findLocaleByCurrencyCode(u"CHF"_s), QLocale(u"de_CH"_s));
    EXPECT_EQ(text(1234.5), u"CHF\u00a01’234.50"_s);
    EXPECT_EQ(text(-1234.5), u"(CHF\u00a01’234.50)"_s);

    useBase(u"EUR"_s);
    EXPECT_EQ(NWCurrencyFormatter::findLocaleByCurrencyCode(u"EUR"_s), QLocale::c());
    EXPECT_EQ(text(1234.5), u"€\u00a01,234.50"_s);

    useBase(u"BGN"_s);
    EXPECT_EQ(text(1234.5), u"1\u00a0234,50\u00a0лв."_s);

    useBase(u"NZD"_s);
    EXPECT_EQ(text(1234.5), u"$1,234.50"_s);
}

TEST_F(NWCurrencyFormatterTest, WithoutBaseCurrencyTheCurrentLocaleDecides)
{
    EXPECT_EQ(text(1234.5), u"$1,234.50"_s);
    EXPECT_EQ(text(-7, 0), u"($7)"_s);
    NWData::shared()->setAppData(nullptr);
    EXPECT_EQ(text(1234.5), u"$1,234.50"_s);
}

TEST_F(NWCurrencyFormatterTest, CustomCurrencyUsesItsLocaleAndThatLocalesSymbol)
{
    useBase(u"USD"_s);
    NWCurrencyFormatter formatter(-1, kParentheses);
    formatter.setCustomCurrency(u"GBP"_s);
    EXPECT_EQ(formatter.stringFromNumber(-1234.5), u"(£1,234.50)"_s);
    formatter.setCustomCurrency(u"JPY"_s);
    EXPECT_EQ(formatter.stringFromNumber(1234.5), u"￥1,234"_s);
    formatter.setCustomCurrency(u""_s);
    EXPECT_EQ(formatter.stringFromNumber(1234.5), u"$1,234.50"_s);
    formatter.setCustomCurrency(QString());
    EXPECT_EQ(formatter.stringFromNumber(1234.5), u"$1,234.50"_s);
}

TEST_F(NWCurrencyFormatterTest, CurrenciesOutsideTheTableStillFormat)
{
    useBase(u"ARS"_s);
    EXPECT_EQ(
        NWCurrencyFormatter::findLocaleByCurrencyCode(u"ARS"_s).currencySymbol(QLocale::CurrencyIsoCode),
        u"ARS"_s);
    EXPECT_EQ(text(1234.5), u"$\u00a01.234,50"_s);

    useBase(u"XYZ"_s);
    EXPECT_EQ(NWCurrencyFormatter::findLocaleByCurrencyCode(u"XYZ"_s), QLocale::c());
    const QString unknown = text(1234.5);
    EXPECT_TRUE(unknown.contains(u"XYZ"_s)) << qPrintable(unknown);
    EXPECT_TRUE(unknown.contains(u"1,234.50"_s) || unknown.contains(u"1234.50"_s)) << qPrintable(unknown);
}

TEST_F(NWCurrencyFormatterTest, ChangesInTheStoreShowAtTheNextCall)
{
    useBase(u"USD"_s);
    NWCurrencyFormatter formatter(0, kParentheses);
    EXPECT_EQ(formatter.stringFromNumber(5), u"$5"_s);
    const auto row = NWData::shared()->currencyFromCode(u"USD"_s);
    const QString previous = row->Symbol();
    row->setSymbol(u"US$"_s);
    EXPECT_EQ(formatter.stringFromNumber(5), u"US$5"_s);
    row->setSymbol(previous);
    useBase(u"GBP"_s);
    EXPECT_EQ(formatter.stringFromNumber(5), u"£5"_s);
}

TEST_F(NWCurrencyFormatterTest, OnlyNumbersAreFormatted)
{
    useBase(u"USD"_s);
    const NWCurrencyFormatter formatter(0, kParentheses);
    EXPECT_TRUE(formatter.stringForObjectValue(u"12"_s).isNull());
    EXPECT_TRUE(formatter.stringForObjectValue(QVariant()).isNull());
    EXPECT_TRUE(formatter.stringForObjectValue(true).isNull());
    EXPECT_EQ(formatter.stringForObjectValue(12), u"$12"_s);
    EXPECT_EQ(formatter.stringForObjectValue(qint64(-3'000'000'000)), u"($3,000,000,000)"_s);
    EXPECT_EQ(formatter.stringForObjectValue(12.5f), u"$12"_s);
}

TEST_F(NWCurrencyFormatterTest, ParsingIsLenientAndTellsWhenTextIsNoNumber)
{
    useBase(u"USD"_s);
    const NWCurrencyFormatter formatter(2, kParentheses);
    EXPECT_DOUBLE_EQ(formatter.valueForString(u"$1,234.56"_s), 1234.56);
    EXPECT_DOUBLE_EQ(formatter.valueForString(u"1234.56"_s), 1234.56);
    EXPECT_DOUBLE_EQ(formatter.valueForString(u"  12 "_s), 12);
    EXPECT_DOUBLE_EQ(formatter.valueForString(u"-12.5"_s), -12.5);
    EXPECT_DOUBLE_EQ(formatter.valueForString(u"($12.50)"_s), -12.5);
    for (const QString& bad : { u"abc"_s, u""_s, u"12x"_s, u"$"_s, u"1.2.3"_s }) {
        EXPECT_EQ(formatter.numberFromString(bad), std::nullopt) << qPrintable(bad);
        EXPECT_EQ(formatter.valueForString(bad), 0.0) << qPrintable(bad);
    }
    EXPECT_EQ(formatter.numberFromString(u"0"_s), 0.0);

    NWCurrencyFormatter swiss(-1, kParentheses);
    swiss.setCustomCurrency(u"CHF"_s);
    EXPECT_DOUBLE_EQ(swiss.valueForString(u"CHF 1’234.50"_s), 1234.5);
    EXPECT_DOUBLE_EQ(swiss.valueForString(u"1234.5"_s), 1234.5);
}

TEST_F(NWCurrencyFormatterTest, EveryTableCurrencyReadsBackWhatItWrites)
{
    for (const auto& row : NWData::makeCurrencyTable()) {
        useBase(row->ShortName());
        const NWCurrencyFormatter formatter(-1, kParentheses);
        for (const double amount : { 1234567.0, -9876.0, 0.0, 42.0 }) {
            const QString written = formatter.stringFromNumber(amount);
            EXPECT_EQ(formatter.numberFromString(written), amount)
                << qPrintable(row->ShortName()) << " " << qPrintable(written);
        }
    }
}

} // namespace
