#pragma once

#include "model/format/CurrencyNumberFormat.h"

#include <QLocale>
#include <QString>
#include <QVariant>

#include <optional>

/// Formats amounts as currency text and reads typed currency text back.
///
/// By default it formats in the model's base currency, with the locale of that currency and the
/// symbol of the store's currency table; with a custom currency it formats in that currency with
/// the locale that belongs to it and that locale's symbol. The store is read at every call, so a
/// change of base currency or of the table's symbols shows at the next call. Main thread only.
class NWCurrencyFormatter {
public:
    /// "(¤00.0)", the negative format every screen uses: the absolute amount in parentheses.
    /// A function, so that it is ready during the static initialisation of other files.
    static QString parenthesesNegativeFormat();

    /// No negative format of its own and the currency's own number of fraction digits.
    NWCurrencyFormatter() = default;
    /// `maxFractionDigits` below 0 keeps the currency's own digits; a null format keeps the locale's.
    NWCurrencyFormatter(int maxFractionDigits, const QString& negativeFormat);

    /// Currency text for a number; a null string for anything else (text, bool, null).
    QString stringForObjectValue(const QVariant& value) const;
    QString stringFromNumber(double value) const;
    /// The number in `text`, read leniently; 0 when the text holds no number.
    double valueForString(const QString& text) const;
    /// The same, but none when the text is not a number, so that a typo is not taken for 0.
    std::optional<double> numberFromString(const QString& text) const;

    /// The locale that belongs to a currency: the currency table's, else the first available
    /// locale using it, else one made from the code alone (QLocale::c() stands for the root locale).
    static QLocale findLocaleByCurrencyCode(const QString& code);
    /// The amount in the base currency with 0 fraction digits, negatives in parentheses. With
    /// `shortFormat`, amounts above 1,000,000 are shown in millions ("$2.50M") and above 100,000
    /// in thousands ("$250.0K"); negative amounts never take a short form.
    static QString currencyFormattedString(double amount, bool shortFormat);

    /// Maximum fraction digits; below 0 means the currency's own.
    int numDigits() const { return m_numDigits; }
    void setNumDigits(int digits) { m_numDigits = digits; }
    /// ISO 4217 code to format in; null or empty means the base currency.
    const QString& customCurrency() const { return m_customCurrency; }
    void setCustomCurrency(const QString& code) { m_customCurrency = code; }
    /// A negative subpattern such as "(¤00.0)"; null keeps the locale's.
    const QString& negativeFormat() const { return m_negativeFormat; }
    void setNegativeFormat(const QString& format) { m_negativeFormat = format; }
    /// Reading is always lenient; the flag is kept for callers that set it.
    bool isLenient() const { return m_lenient; }
    void setLenient(bool lenient) { m_lenient = lenient; }

private:
    /// What the next call formats with, resolved against the store as it is now.
    CurrencyNumberFormat::Settings settings() const;

    int m_numDigits = -1;
    QString m_customCurrency;
    QString m_negativeFormat;
    bool m_lenient = false;
};
