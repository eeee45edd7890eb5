#pragma once

#include <QString>

#include <optional>

/// Currency formatting and parsing on ICU's number formatter, with no knowledge of the store:
/// the caller resolves locale, currency and symbol. Formatters are cached per thread and
/// settings, so calls are cheap and safe from any thread.
class CurrencyNumberFormat {
public:
    struct Settings {
        /// "en_US", "de_CH", ...; empty or "C" is the root locale.
        QString localeID;
        /// ISO 4217 code; empty keeps the locale's own currency.
        QString currencyCode;
        /// Replaces the locale's symbol for the currency; null keeps it.
        QString symbol;
        /// Maximum fraction digits (the minimum is lowered to it when larger); negative keeps the
        /// currency's own number of digits.
        int maxFractionDigits = -1;
        /// A negative subpattern such as "(¤00.0)": only its prefix and suffix take effect.
        /// Null keeps the locale's negative form.
        QString negativeFormat;

        /// Null and empty texts differ here: an empty symbol is a symbol.
        bool operator==(const Settings& other) const;
    };

    CurrencyNumberFormat() = delete;

    /// The amount as currency text, rounded half-even. Never fails: a negative format that is
    /// not a valid pattern is ignored.
    static QString format(double amount, const Settings& settings);
    /// Reads currency text leniently (symbol, grouping and the negative form may be left out).
    /// Returns none unless the whole text, apart from surrounding white space, is one finite number.
    static std::optional<double> parse(const QString& text, const Settings& settings);
};
