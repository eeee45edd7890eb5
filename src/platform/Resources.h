#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringView>

#include <optional>

namespace platform {

/// Parses "RRGGBBAA" or "RRGGBB" (alpha last, optional leading '#').
/// Returns none for anything else.
std::optional<QColor> colorFromRgbaHex(QStringView text);

/// The named colour for the current appearance (light or dark) from the colour table
/// in the resources. An unknown name gives an invalid QColor.
QColor namedColor(const QString& name);
/// The named colour for the given appearance, whatever the current one is.
QColor namedColor(const QString& name, bool dark);

/// The image called `name` from the resources (":/images/<name>.svg" or ".png"),
/// rendered at `size` when given (SVG renders at any size without loss).
/// Returns a null image when no such image exists.
QImage image(const QString& name, const QSize& size = {});

} // namespace platform
