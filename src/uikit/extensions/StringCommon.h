#pragma once

#include <QString>
#include <QStringList>

/// Small string conveniences.
struct StringCommon {
    /// The text without leading and trailing white space and line breaks.
    static QString stringByStrippingWhitespace(const QString& text);
    /// True when the text is empty once stripped.
    static bool isBlank(const QString& text);
    /// True when `other` occurs in `text` (case-sensitive).
    static bool contains(const QString& text, const QString& other);
    /// The characters from index `from` up to, not including, `to`. Indexes outside the
    /// text are clamped to it; an end before the start gives an empty string.
    static QString substringFrom(const QString& text, qsizetype from, qsizetype to);
    /// Splits at every occurrence of `separator`; the text "a,,b" gives "a", "", "b" and
    /// "a," gives "a", "". An empty text gives an empty list. A separator outside
    /// 7-bit ASCII never matches.
    static QStringList splitOnChar(const QString& text, char separator);
};
