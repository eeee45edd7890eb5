#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QString>

#include <cmath>

/// The texts, fonts and measurements the printed reports share. Lengths are points.
namespace reporttext {

/// "Helvetica Neue" (or its stand-in) at `points` printed points.
QFont font(int points, QFont::Weight weight = QFont::Normal);
/// A grey of the given brightness, opaque.
QColor grey(qreal level);
/// `value` without its fraction: positions on the page are whole points.
inline qreal truncated(qreal value)
{
    return std::trunc(value);
}

/// The height `text` takes on one line in `font`; 0 for an empty text.
qreal height(const QString& text, const QFont& font);
qreal width(const QString& text, const QFont& font);
/// The first `count` UTF-16 units of `text`, one fewer when that would split a surrogate pair.
QString prefix(const QString& text, qsizetype count);
/// The text cut in proportion when it is wider than `maxWidth`: its first
/// truncate(length × maxWidth / width) characters, nothing appended; else the text unchanged.
QString cutToWidth(const QString& text, const QFont& font, qreal maxWidth);

/// The smallest size, in points, a fitted text is set at before it is elided.
inline constexpr int smallestFittedPoints = 8;
/// A text as it fits on one line of a given width.
struct FittedText {
    QString text;
    QFont font;
};
/// `text` on one line within `maxWidth`, as a cell of a printed table must be, for it is read
/// from its start: in `font` when it fits, else a point smaller at a time down to
/// `smallestFittedPoints`, and only when it is still too wide there cut at its end with "…".
/// `font` is sized in pixels (`font()`); a smaller font is never made larger.
FittedText fitToWidth(const QString& text, const QFont& font, qreal maxWidth);

/// An amount in the store's base currency, no fraction digits, negatives in parentheses.
QString amount(double value);
/// A ratio as a percentage with one fraction digit: 0.256 is "25.6%".
QString percent(double ratio);
/// The full month name and the year ("March 2024").
QString monthAndYear(const QDateTime& date);
/// The full name of month 1 to 12.
QString monthName(int month);
/// The date and time in the locale's medium styles ("Mar 5, 2024, 9:41:07 AM" in English).
QString mediumDateTime(const QDateTime& moment);

} // namespace reporttext
