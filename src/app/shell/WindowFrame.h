#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

/// The main window's frame as kept in the settings: the text form "{{x, y}, {w, h}}" of a
/// rectangle whose origin is its bottom-left corner, y growing upwards from the bottom of
/// the primary screen. Pure functions; the widget side converts with
/// `platform::screenFlipHeight()`.
namespace WindowFrame {

/// The smallest frame the main window accepts; smaller saved frames are ignored.
inline constexpr QSize minimumSize { 800, 500 };
/// The size the window opens at without a usable saved frame.
inline constexpr QSize defaultSize { 1100, 720 };

/// "{{x, y}, {w, h}}" for a rectangle in y-up coordinates.
QString toText(const QRect& yUpFrame);
/// The rectangle of a text written by `toText`; none when the text is not four numbers in
/// that form or a number is out of range.
std::optional<QRect> fromText(const QString& text);

/// The saved frame to restore, in Qt coordinates (reflected about `flipHeight`, the bottom
/// edge of the primary screen), brought wholly onto the screen it mostly lies on so that
/// its title strip can be grabbed: `screens` are the screens' available areas (Qt
/// coordinates). None when the text cannot be parsed, the frame is smaller than
/// `minimumSize`, or no part of it lies on any screen.
std::optional<QRect> restorableFrame(const QString& text, int flipHeight, const QList<QRect>& screens);

/// `frame` shrunk to `available` where larger, then moved the least distance that puts it
/// wholly inside.
QRect fittedInto(const QRect& frame, const QRect& available);

/// `defaultSize` (shrunk to fit) centred on `screen`.
QRect defaultFrame(const QRect& screen);

} // namespace WindowFrame
