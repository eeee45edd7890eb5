#include "model/format/CurrencyNumberFormat.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

using Settings = CurrencyNumberFormat::Settings;

Settings dollars()
{
    return { u"en_US"_s, u"USD"_s, QString(), -1, u"(¤00.0)"_s };
}

TEST(CurrencyNumberFormat, CachedFormattersNeverStandInForOtherSettings)
{
    Settings withEmptySymbol = dollars();
    withEmptySymbol.symbol = u""_s;
    Settings withoutNegative = dollars();
    withoutNegative.negativeFormat = QString();
    // More settings than the cache holds, twice over, in an order that evicts and refills it.
    for (int round = 0; round < 2; ++round) {
        for (int digits = 0; digits < 20; ++digits) {
            Settings s = dollars();
            s.maxFractionDigits = digits;
            const QString text = CurrencyNumberFormat::format(-1.0, s);
            // The maximum only lowers the currency's minimum of 2 digits, never raises it.
            EXPECT_EQ(text, digits == 0 ? u"($1)"_s : u"($1."_s + QString(std::min(digits, 2), u'0') + u')')
                << digits;
        }
        EXPECT_EQ(CurrencyNumberFormat::format(-1.5, dollars()), u"($1.50)"_s);
        EXPECT_EQ(CurrencyNumberFormat::format(-1.5, withEmptySymbol), u"(1.50)"_s);
        EXPECT_EQ(CurrencyNumberFormat::format(-1.5, withoutNegative), u"-$1.50"_s);
    }
}

TEST(CurrencyNumberFormat, AnInvalidNegativeFormatIsIgnored)
{
    Settings s = dollars();
    s.negativeFormat = u"(¤00.0'"_s;
    EXPECT_EQ(CurrencyNumberFormat::format(-1.5, s), u"-$1.50"_s);
}

TEST(CurrencyNumberFormat, RootAndUnknownLocalesStillFormat)
{
    Settings s { QString(), u"EUR"_s, u"€"_s, -1, QString() };
    EXPECT_EQ(CurrencyNumberFormat::format(1.5, s), u"€\u00a01.50"_s);
    s.localeID = u"C"_s;
    EXPECT_EQ(CurrencyNumberFormat::format(1.5, s), u"€\u00a01.50"_s);
    s.localeID = u"not a locale at all"_s;
    EXPECT_FALSE(CurrencyNumberFormat::format(1.5, s).isEmpty());
}

TEST(CurrencyNumberFormat, ParsingRefusesWhatIsNotOneFiniteNumber)
{
    const Settings s = dollars();
    EXPECT_EQ(CurrencyNumberFormat::parse(u"∞"_s, s), std::nullopt);
    EXPECT_EQ(CurrencyNumberFormat::parse(u"NaN"_s, s), std::nullopt);
    EXPECT_EQ(CurrencyNumberFormat::parse(u"1 2"_s, s), std::nullopt);
    EXPECT_EQ(CurrencyNumberFormat::parse(u"\t$7\n"_s, s), 7.0);
    EXPECT_EQ(CurrencyNumberFormat::parse(CurrencyNumberFormat::format(-0.25, s), s), -0.25);
    const double huge = std::numeric_limits<double>::max();
    EXPECT_EQ(CurrencyNumberFormat::parse(CurrencyNumberFormat::format(huge, s), s), huge);
}

} // namespace
