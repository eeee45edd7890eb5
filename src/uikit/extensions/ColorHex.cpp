#include "uikit/extensions/ColorHex.h"

#include <cctype>
#include <cstdint>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

bool isHexDigit(QChar c)
{
    return c.unicode() < 128 && std::isxdigit(static_cast<unsigned char>(c.unicode()));
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
    qsizetype end = i;
    while (end < text.size() && isHexDigit(text[end]))
        ++end;
    QStringView digits = text.mid(i, end - i);
    while (digits.startsWith(u'0'))
        digits = digits.mid(1);
    if (digits.isEmpty())
        return 0;
    if (digits.size() > 8)
        return std::numeric_limits<std::uint32_t>::max();
    return digits.toUInt(nullptr, 16);
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
