#include "model/format/Flags.h"

namespace {

constexpr char32_t kRegionalIndicatorOffset = 0x1F1A5;

} // namespace

QString Flags::flagEmoji(const QString& code)
{
    QString flag;
    flag.reserve(code.size() * 2);
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar unit = code.at(i);
        const bool paired = (unit.isHighSurrogate() && i + 1 < code.size() && code.at(i + 1).isLowSurrogate())
            || (unit.isLowSurrogate() && i > 0 && code.at(i - 1).isHighSurrogate());
        const char32_t value = unit.isSurrogate() && !paired ? char32_t(0xFFFD) : char32_t(unit.unicode());
        const char32_t scalar = value + kRegionalIndicatorOffset;
        flag.append(QChar::highSurrogate(scalar));
        flag.append(QChar::lowSurrogate(scalar));
    }
    return flag.isEmpty() ? QString() : flag;
}
