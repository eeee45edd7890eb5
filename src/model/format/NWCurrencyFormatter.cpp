#include "model/format/NWCurrencyFormatter.h"

#include "model/store/NWData.h"

#include <QMetaType>

using namespace Qt::Literals::StringLiterals;

QString NWCurrencyFormatter::parenthesesNegativeFormat()
{
    return u"(¤00.0)"_s;
}

NWCurrencyFormatter::NWCurrencyFormatter(int maxFractionDigits, const QString& negativeFormat)
    : m_numDigits(maxFractionDigits), m_negativeFormat(negativeFormat)
{
}

CurrencyNumberFormat::Settings NWCurrencyFormatter::settings() const
{
    CurrencyNumberFormat::Settings settings;
    settings.negativeFormat = m_negativeFormat;
    settings.maxFractionDigits = m_numDigits < 0 ? -1 : m_numDigits;
    const NWData* store = NWData::shared();
    if (!m_customCurrency.isEmpty()) {
        settings.localeID = store->localeIdentifierForCurrencyCode(m_customCurrency);
        settings.currencyCode = m_customCurrency;
        return settings;
    }
    settings.localeID = store->getLocaleIdentifier();
    const auto& model = store->appData();
    if (model && !model->baseCurrency().isNull()) {
        // The base currency's own code, so that its digits apply even where its locale names no
        // currency (the euro's root locale).
        settings.currencyCode = model->baseCurrency();
        if (const auto row = store->currencyFromCode(model->baseCurrency()))
            settings.symbol = row->Symbol();
    }
    return settings;
}

QString NWCurrencyFormatter::stringForObjectValue(const QVariant& value) const
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return stringFromNumber(value.toDouble());
    default:
        return {};
    }
}

QString NWCurrencyFormatter::stringFromNumber(double value) const
{
    return CurrencyNumberFormat::format(value, settings());
}

double NWCurrencyFormatter::valueForString(const QString& text) const
{
    return numberFromString(text).value_or(0.0);
}

std::optional<double> NWCurrencyFormatter::numberFromString(const QString& text) const
{
    return CurrencyNumberFormat::parse(text, settings());
}

QLocale NWCurrencyFormatter::findLocaleByCurrencyCode(const QString& code)
{
    return NWData::shared()->localeForCurrencyCode(code);
}

QString NWCurrencyFormatter::currencyFormattedString(double amount, bool shortFormat)
{
    if (shortFormat && amount > 1'000'000.0) {
        const int digits = amount < 10'000'000.0 ? 3 : amount < 100'000'000.0 ? 2 : 1;
        return NWCurrencyFormatter(digits, parenthesesNegativeFormat()).stringFromNumber(amount / 1'000'000.0)
            + u'M';
    }
    if (shortFormat && amount > 100'000.0)
        return NWCurrencyFormatter(1, parenthesesNegativeFormat()).stringFromNumber(amount / 1'000.0) + u'K';
    return NWCurrencyFormatter(0, parenthesesNegativeFormat()).stringFromNumber(amount);
}
