#include "uikit/extensions/ColorHex.h"

#include <cstdint>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Reads a hexadecimal number the way stored colour texts have always been read:
// white space skipped, optional 0x, saturating at 32 bits.
std::uint32_t scanHex(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    const QStringView rest = text.mid(i);
    if (rest.startsWith(u"0x") || rest.startsWith(u"0X"))
        i += 2;
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        const int digit = hexDigit(text[i].unicode());
        if (digit < 0)
            break;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > std::numeric_limits<std::uint32_t>::max()) {
            overflow = true;
            value = 0;
        }
    }
    return overflow ? std::numeric_limits<std::uint32_t>::max() : static_cast<std::uint32_t>(value);
}

} // namespace

QColor ColorHex::colorFromHex(QStringView text)
{
    if (text.startsWith(u'#'))
        text = text.mid(1);
    const std::uint32_t value = scanHex(text);
    return QColor::fromRgbF(static_cast<float>(((value >> 24) & 0xFF) / 255.0),
        static_cast<float>(((value >> 16) & 0xFF) / 255.0), static_cast<float>(((value >> 8) & 0xFF) / 255.0),
        static_cast<float>((value & 0xFF) / 255.0));
}

QString ColorHex::hexadecimalValue(const QColor& color)
{
    if (!color.isValid())
        return {};
    const QColor rgb = color.toRgb();
    const auto channel = [](float component) {
        const int value = static_cast<int>(component * 255.99998474121094);
        return QString::number(qBound(0, value, 255), 16).rightJustified(2, u'0');
    };
    return u"#"_s + channel(rgb.redF()) + channel(rgb.greenF()) + channel(rgb.blueF());
}
