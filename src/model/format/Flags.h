#pragma once

#include <QString>

/// Turns a letter code into regional indicator symbols, which fonts draw as a country flag:
/// "US" gives the flag of the United States; "USD" the same followed by the symbol for D.
class Flags {
public:
    /// Every UTF-16 unit of `code` offset by 0x1F1A5 ("A" becomes U+1F1E6); an unpaired
    /// surrogate counts as U+FFFD. Other characters are offset alike and draw as no flag.
    /// Returns a null string for an empty code.
    static QString flagEmoji(const QString& code);
};
