#include "reports/print/ReportText.h"

#include "model/format/NWCurrencyFormatter.h"
#include "platform/Fonts.h"

#include <QFontMetricsF>
#include <QLocale>

#include <unicode/udat.h>

#include <algorithm>
#include <array>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace reporttext {

QFont font(int points, QFont::Weight weight)
{
    // A design point is a pixel of the font; the painter draws one point per unit.
    return platform::designFont(points, weight);
}

QColor grey(qreal level)
{
    return QColor::fromRgbF(float(level), float(level), float(level));
}

qreal height(const QString& text, const QFont& font)
{
    if (text.isEmpty())
        return 0.0;
    return QFontMetricsF(font)
        .boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, text)
        .height();
}

qreal width(const QString& text, const QFont& font)
{
    return QFontMetricsF(font).horizontalAdvance(text);
}

QString prefix(const QString& text, qsizetype count)
{
    if (count >= text.size())
        return text;
    if (count <= 0)
        return {};
    if (text.at(count - 1).isHighSurrogate())
        --count;
    return text.left(count);
}

QString cutToWidth(const QString& text, const QFont& font, qreal maxWidth)
{
    const qreal full = width(text, font);
    if (full <= maxWidth)
        return text;
    return prefix(text, qsizetype(std::trunc(double(text.size()) * maxWidth / full)));
}

FittedText fitToWidth(const QString& text, const QFont& font, qreal maxWidth)
{
    Q_ASSERT(font.pixelSize() > 0);
    QFont sized = font;
    const int largest = font.pixelSize();
    const int smallest = std::min(largest, smallestFittedPoints);
    for (int points = largest; points >= smallest; --points) {
        sized.setPixelSize(points);
        if (width(text, sized) <= maxWidth)
            return { text, sized };
    }
    return { QFontMetricsF(sized).elidedText(text, Qt::ElideRight, maxWidth), sized };
}

QString amount(double value)
{
    static const NWCurrencyFormatter formatter(0, NWCurrencyFormatter::parenthesesNegativeFormat());
    return formatter.stringFromNumber(value);
}

QString percent(double ratio)
{
    return QLocale().toString(ratio * 100.0, 'f', 1) + u"%"_s;
}

QString monthAndYear(const QDateTime& date)
{
    return QLocale().toString(date.date(), u"MMMM yyyy"_s);
}

QString monthName(int month)
{
    return QLocale().standaloneMonthName(month, QLocale::LongFormat);
}

QString mediumDateTime(const QDateTime& moment)
{
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray locale = QLocale().name().toUtf8();
    UDateFormat* format
        = udat_open(UDAT_MEDIUM, UDAT_MEDIUM, locale.constData(), nullptr, -1, nullptr, -1, &status);
    if (U_FAILURE(status)) {
        if (format)
            udat_close(format);
        return QLocale().toString(moment, QLocale::ShortFormat);
    }
    std::array<UChar, 128> buffer {};
    const int32_t length = udat_format(
        format, UDate(moment.toMSecsSinceEpoch()), buffer.data(), buffer.size(), nullptr, &status);
    udat_close(format);
    if (U_FAILURE(status) || length > int32_t(buffer.size()))
        return QLocale().toString(moment, QLocale::ShortFormat);
    return QString(reinterpret_cast<const QChar*>(buffer.data()), length);
}

} // namespace reporttext
