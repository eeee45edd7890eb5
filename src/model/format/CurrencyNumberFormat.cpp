#include "model/format/CurrencyNumberFormat.h"

#include <unicode/unum.h>

#include <cmath>
#include <list>
#include <memory>
#include <utility>

namespace {

bool sameText(const QString& a, const QString& b)
{
    return a.isNull() == b.isNull() && a == b;
}

} // namespace

bool CurrencyNumberFormat::Settings::operator==(const Settings& other) const
{
    return sameText(localeID, other.localeID) && sameText(currencyCode, other.currencyCode)
        && sameText(symbol, other.symbol) && maxFractionDigits == other.maxFractionDigits
        && sameText(negativeFormat, other.negativeFormat);
}

namespace {

struct CloseFormat {
    void operator()(UNumberFormat* format) const { unum_close(format); }
};
using FormatPtr = std::unique_ptr<UNumberFormat, CloseFormat>;

const UChar* utf16(const QString& text)
{
    return reinterpret_cast<const UChar*>(text.utf16());
}

QByteArray icuLocale(const QString& localeID)
{
    // An empty locale means ICU's default locale, not the root one.
    if (localeID.isEmpty() || localeID == u"C")
        return QByteArrayLiteral("root");
    return localeID.toUtf8();
}

// The positive subpattern: everything before the first ';' outside quotes.
QString positivePattern(const QString& pattern)
{
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern.at(i) == u'\'')
            quoted = !quoted;
        else if (pattern.at(i) == u';' && !quoted)
            return pattern.left(i);
    }
    return pattern;
}

QString currentPattern(const UNumberFormat* format)
{
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = unum_toPattern(format, false, nullptr, 0, &error);
    QString pattern(length, Qt::Uninitialized);
    error = U_ZERO_ERROR;
    unum_toPattern(format, false, reinterpret_cast<UChar*>(pattern.data()), length, &error);
    return U_FAILURE(error) ? QString() : pattern;
}

FormatPtr makeFormat(const CurrencyNumberFormat::Settings& settings, bool lenient)
{
    UErrorCode error = U_ZERO_ERROR;
    FormatPtr format(
        unum_open(UNUM_CURRENCY, nullptr, 0, icuLocale(settings.localeID).constData(), nullptr, &error));
    if (U_FAILURE(error)) {
        error = U_ZERO_ERROR;
        format.reset(unum_open(UNUM_CURRENCY, nullptr, 0, "root", nullptr, &error));
        if (U_FAILURE(error))
            return nullptr;
    }
    UNumberFormat* f = format.get();
    // The code first: it brings the currency's digits and symbol, which the settings below refine.
    if (settings.currencyCode.size() == 3) {
        error = U_ZERO_ERROR;
        unum_setTextAttribute(f, UNUM_CURRENCY_CODE, utf16(settings.currencyCode), 3, &error);
    }
    if (!settings.negativeFormat.isNull()) {
        const QString pattern = positivePattern(currentPattern(f)) + u';' + settings.negativeFormat;
        error = U_ZERO_ERROR;
        FormatPtr candidate(unum_clone(f, &error));
        if (U_SUCCESS(error)) {
            unum_applyPattern(
                candidate.get(), false, utf16(pattern), int32_t(pattern.size()), nullptr, &error);
            if (U_SUCCESS(error)) {
                format = std::move(candidate);
                f = format.get();
            }
        }
    }
    if (!settings.symbol.isNull()) {
        error = U_ZERO_ERROR;
        unum_setSymbol(
            f, UNUM_CURRENCY_SYMBOL, utf16(settings.symbol), int32_t(settings.symbol.size()), &error);
    }
    if (settings.maxFractionDigits >= 0) {
        if (unum_getAttribute(f, UNUM_MIN_FRACTION_DIGITS) > settings.maxFractionDigits)
            unum_setAttribute(f, UNUM_MIN_FRACTION_DIGITS, settings.maxFractionDigits);
        unum_setAttribute(f, UNUM_MAX_FRACTION_DIGITS, settings.maxFractionDigits);
    }
    unum_setAttribute(f, UNUM_ROUNDING_MODE, UNUM_ROUND_HALFEVEN);
    if (lenient)
        unum_setAttribute(f, UNUM_LENIENT_PARSE, 1);
    return format;
}

// Building an ICU formatter costs far more than using one: keep the recently used ones.
class FormatCache {
public:
    const UNumberFormat* get(const CurrencyNumberFormat::Settings& settings, bool lenient)
    {
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->lenient == lenient && it->settings == settings) {
                m_entries.splice(m_entries.begin(), m_entries, it);
                return m_entries.front().format.get();
            }
        }
        FormatPtr format = makeFormat(settings, lenient);
        if (!format)
            return nullptr;
        m_entries.push_front({ settings, lenient, std::move(format) });
        if (m_entries.size() > kCapacity)
            m_entries.pop_back();
        return m_entries.front().format.get();
    }

private:
    static constexpr std::size_t kCapacity = 16;
    struct Entry {
        CurrencyNumberFormat::Settings settings;
        bool lenient;
        FormatPtr format;
    };
    std::list<Entry> m_entries;
};

FormatCache& cache()
{
    thread_local FormatCache formats;
    return formats;
}

} // namespace

QString CurrencyNumberFormat::format(double amount, const Settings& settings)
{
    const UNumberFormat* format = cache().get(settings, false);
    if (!format)
        return QString::number(amount);
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = unum_formatDouble(format, amount, nullptr, 0, nullptr, &error);
    QString text(length, Qt::Uninitialized);
    error = U_ZERO_ERROR;
    unum_formatDouble(format, amount, reinterpret_cast<UChar*>(text.data()), length, nullptr, &error);
    return U_FAILURE(error) ? QString::number(amount) : text;
}

std::optional<double> CurrencyNumberFormat::parse(const QString& text, const Settings& settings)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const UNumberFormat* format = cache().get(settings, true);
    if (!format)
        return std::nullopt;
    UErrorCode error = U_ZERO_ERROR;
    int32_t position = 0;
    const double value = unum_parseDouble(format, utf16(trimmed), int32_t(trimmed.size()), &position, &error);
    if (U_FAILURE(error) || position != trimmed.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}
