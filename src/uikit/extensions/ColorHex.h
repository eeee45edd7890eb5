#pragma once

#include <QColor>
#include <QString>
#include <QStringView>

/// Colours from and to hexadecimal text. Every stored colour text of the application
/// is RRGGBBAA with alpha last and an optional leading '#'.
struct ColorHex {
    /// Reads the text as one hexadecimal number, right-aligned, and takes its four bytes
    /// from the highest as red, green, blue and alpha. There are no short forms: "FFF" is
    /// 0x00000FFF. Leading white space and a "0x" prefix are skipped; reading stops at the
    /// first non-hexadecimal character; no digits give 0 (transparent black) and more than
    /// 32 bits give 0xFFFFFFFF (opaque white). Never fails.
    static QColor colorFromHex(QStringView text);
    /// "#rrggbb" in lower case (alpha dropped); a null string for an invalid colour.
    static QString hexadecimalValue(const QColor& color);
};
