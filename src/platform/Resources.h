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
/// rendered at `size` when given (SVG renders at any size without loss), else at its own
/// size. With a `devicePixelRatio` above 1 it has size × ratio pixels and carries the
/// ratio, so it still paints `size` points large with every device pixel drawn from the
/// source. Returns a null image when no such image exists. Thread-safe; renders are kept.
QImage image(const QString& name, const QSize& size = {}, qreal devicePixelRatio = 1.0);

/// `image` rendered again for `devicePixelRatio` when it came from `image()` with another
/// ratio (same name, same size in points); any other image comes back as it is. Painters
/// call this with their device's ratio, so a window moved to another screen stays sharp.
QImage imageForDevicePixelRatio(const QImage& image, qreal devicePixelRatio);

} // namespace platform
