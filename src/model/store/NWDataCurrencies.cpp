#include "model/store/NWData.h"

#include <QHash>
#include <QMutex>

using namespace Qt::Literals::StringLiterals;

namespace {

struct CurrencyRow {
    const char16_t* code;
    const char16_t* symbol;
    const char16_t* name;
    double ratePerEuro;
    const char16_t* localeID;
};

// The euro and the currencies of the daily euro reference-rate feed, with default
// rates until the feed answers.
constexpr CurrencyRow kCurrencyRows[] = {
    { u"EUR", u"€", u"Euro", 1.0, u"" },
    { u"USD", u"$", u"US dollar", 1.1915, u"en-us" },
    { u"JPY", u"¥", u"Japanese yen", 143.0, u"ja" },
    { u"BGN", u"лв.", u"Bulgarian lev", 1.9558, u"bg" },
    { u"CZK", u"Kč", u"Czech koruna", 27.676, u"cs" },
    { u"DKK", u"kr", u"Danish krone", 7.441, u"da" },
    { u"GBP", u"£", u"Pound sterling", 0.7827, u"en-gb" },
    { u"HUF", u"Ft", u"Hungarian forint", 318.32, u"hu" },
    { u"PLN", u"zł", u"Polish zloty", 4.2979, u"pl" },
    { u"RON", u"L", u"Romanian leu", 4.4975, u"ro" },
    { u"SEK", u"kr", u"Swedish krona", 9.4882, u"sv-se" },
    { u"CHF", u"CHF", u"Swiss franc", 1.2016, u"de-ch" },
    { u"NOK", u"kr", u"Norwegian krone", 9.1075, u"no-no" },
    { u"HRK", u"kn", u"Croatian kuna", 7.6738, u"hr" },
    { u"RUB", u"₽", u"Russian rouble", 70.388, u"ru" },
    { u"TRY", u"₺", u"Turkish lira", 2.7869, u"tr" },
    { u"AUD", u"$", u"Australian dollar", 1.4755, u"en-au" },
    { u"BRL", u"R$", u"Brasilian real", 3.2334, u"pt-br" },
    { u"CAD", u"$", u"Canadian dollar", 1.4041, u"en-ca" },
    { u"CNY", u"¥", u"Chinese yuan renminbi", 7.4111, u"zh-cn" },
    { u"HKD", u"HK$", u"Hong Kong dollar", 9.2409, u"zh-hk" },
    { u"ILS", u"₪", u"Israeli shekel", 4.712, u"he-il" },
    { u"INR", u"₹", u"Indian rupee", 75.6156, u"en-in" },
    { u"KRW", u"₩", u"South Korean won", 1323.73, u"ko" },
    { u"MXN", u"Mex$", u"Mexican peso", 17.695, u"es-mx" },
    { u"MYR", u"RM", u"Malaysian ringgit", 4.2215, u"ms-my" },
    { u"NZD", u"$", u"New Zealand", 1.5515, u"en-nz" },
    { u"PHP", u"₱", u"Philippine peso", 53.674, u"en-ph" },
    { u"SGD", u"S$", u"Singapore dollar", 1.592, u"zh-sg" },
    { u"THB", u"฿", u"Thai baht", 39.297, u"th" },
    { u"ZAR", u"R", u"South African rand", 13.9739, u"en-za" },
};

// "en-us" -> "en_US", "zh-hk" -> "zh_HK"; "" stays the root locale.
QString normalisedLocaleID(const QString& id)
{
    QStringList parts = id.split(u'-', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {};
    parts[0] = parts[0].toLower();
    for (qsizetype i = 1; i < parts.size(); ++i)
        parts[i] = parts[i].toUpper();
    return parts.join(u'_');
}

// Scanning every locale costs tens of microseconds, and a formatter with a currency outside the
// table asks for each amount it formats. The answer depends only on the locale data, so
// one cache serves every store; a mutex keeps it safe should a formatter run off the main
// thread.
QString scannedLocaleIdentifier(const QString& code)
{
    static QMutex mutex;
    static QHash<QString, QString> answers;
    {
        const QMutexLocker lock(&mutex);
        const auto found = answers.constFind(code);
        if (found != answers.cend())
            return *found;
    }
    QString answer = code;
    const QList<QLocale> locales
        = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    for (const QLocale& locale : locales) {
        if (locale.language() != QLocale::C && locale.currencySymbol(QLocale::CurrencyIsoCode) == code) {
            answer = locale.name();
            break;
        }
    }
    const QMutexLocker lock(&mutex);
    answers.insert(code, answer);
    return answer;
}

const QString euroCode = u"EUR"_s;

} // namespace

QList<std::shared_ptr<MVX_Currency>> NWData::makeCurrencyTable()
{
    QList<std::shared_ptr<MVX_Currency>> rows;
    rows.reserve(std::size(kCurrencyRows));
    for (const CurrencyRow& row : kCurrencyRows) {
        const QString code = QString::fromUtf16(row.code);
        rows.append(std::make_shared<MVX_Currency>(QString::fromUtf16(row.symbol), code,
            QString::fromUtf16(row.name), code, row.ratePerEuro, QString::fromUtf16(row.localeID)));
    }
    return rows;
}

QString NWData::currentLocaleCurrencyCode() const
{
    return QLocale().currencySymbol(QLocale::CurrencyIsoCode);
}

void NWData::fillRatesFor(const QString& localCode)
{
    m_exchangeRates.clear();
    const auto local = m_supportedCurrencies.value(localCode);
    if (!local)
        return;
    const double localPerEuro = local->exchangeRate();
    for (auto it = m_supportedCurrencies.cbegin(); it != m_supportedCurrencies.cend(); ++it) {
        if (it.key() == localCode)
            continue;
        m_exchangeRates.insert(it.key(),
            std::make_shared<MVX_ExchangeRate>(it.key(), localPerEuro / it.value()->exchangeRate()));
    }
}

void NWData::setExchangeRates()
{
    m_localCurrencyCode = currentLocaleCurrencyCode();
    if (m_appData && !m_appData->baseCurrency().isNull())
        m_localCurrencyCode = m_appData->baseCurrency();
    m_exchangeRates.clear();
    setSupportsForeignCurrencies(false);
    if (const auto row = m_supportedCurrencies.value(m_localCurrencyCode)) {
        m_localCurrency = row;
        setSupportsForeignCurrencies(true);
        fillRatesFor(m_localCurrencyCode);
    }
    setExchangeRateIsUpToDate(false);
}

void NWData::exchangeRateUpdateOnBaseCurrencyChange()
{
    if (!m_appData || m_appData->baseCurrency().isNull())
        return;
    const QString code = m_appData->baseCurrency();
    m_exchangeRates.clear();
    setSupportsForeignCurrencies(false);
    if (const auto row = m_supportedCurrencies.value(code)) {
        m_localCurrency = row;
        setSupportsForeignCurrencies(true);
        fillRatesFor(code);
    }
}

void NWData::recalculateRates()
{
    if (!supportsForeignCurrencies())
        return;
    const QString code = (m_appData && !m_appData->baseCurrency().isNull()) ? m_appData->baseCurrency()
                                                                            : m_localCurrencyCode;
    m_exchangeRates.clear();
    if (const auto row = m_supportedCurrencies.value(code)) {
        m_localCurrency = row;
        fillRatesFor(code);
    }
}

double NWData::getExchangeRateFor(const QString& code) const
{
    const auto rate = m_exchangeRates.value(code);
    return rate ? rate->exchangeRate() : 1.0;
}

bool NWData::setExchangeRateFor(const QString& code, const QString& rateText)
{
    // Rates are per euro: the euro's own is 1 by definition.
    const auto row = m_supportedCurrencies.value(code);
    if (!row || code == euroCode)
        return false;
    // The feed writes "1.1915" whatever the user's locale.
    bool ok = false;
    const double rate = QLocale::c().toDouble(rateText.trimmed(), &ok);
    return ok && row->setExchangeRate(rate);
}

std::shared_ptr<MVX_Currency> NWData::currencyFromCode(const QString& code) const
{
    return m_supportedCurrencies.value(code);
}

QString NWData::localeIdentifierForCurrencyCode(const QString& code) const
{
    if (const auto row = m_supportedCurrencies.value(code))
        return normalisedLocaleID(row->localeID());
    return scannedLocaleIdentifier(code);
}

QLocale NWData::localeForCurrencyCode(const QString& code) const
{
    const QString id = localeIdentifierForCurrencyCode(code);
    return id.isEmpty() ? QLocale::c() : QLocale(id);
}

QLocale NWData::getLocale() const
{
    if (m_appData && !m_appData->baseCurrency().isNull())
        return localeForCurrencyCode(m_appData->baseCurrency());
    return QLocale();
}

QString NWData::getLocaleIdentifier() const
{
    if (m_appData && !m_appData->baseCurrency().isNull())
        return localeIdentifierForCurrencyCode(m_appData->baseCurrency());
    return QLocale().name();
}
