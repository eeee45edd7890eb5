#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

class QWidget;
class TBWindowButton;

/// The window's own buttons, by the kinds of the design: 0 close, 1 minimise, 2 zoom,
/// 7 full screen. The images are drawn here, at twice the point size for sharp output.
namespace TBStandardButtons {

enum class Kind { Close = 0, Miniaturize = 1, Zoom = 2, FullScreen = 7 };
enum class Look { Active, ActiveNotKey, Inactive, Rollover, Pressed };

/// The size of one standard button, in points.
QSizeF buttonSize(Kind kind);
/// The image of `kind` in `look`; a null image for an unknown kind.
QImage image(Kind kind, Look look);
/// A new button of `kind` in group `groupIdentifier` with all five images set.
TBWindowButton* makeButton(Kind kind, const QString& groupIdentifier, QWidget* parent);

} // namespace TBStandardButtons
