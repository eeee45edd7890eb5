#pragma once

#include <QImage>
#include <QString>

/// The picture of a tag's colour: the eight colour names ("BLUE", "ORANGE", "RED", "GRAY",
/// "GREEN", "PINK", "WHITE", "YELLOW") map, by exact comparison, to the images "blueTag" ...
/// "yellowTag"; any other name has none.
namespace TagColorImages {

/// The image's name, or an empty text for a name outside the eight.
QString imageName(const QString& colorName);
/// The image at `size`, or a null image for a name outside the eight.
QImage image(const QString& colorName, const QSize& size = QSize(16, 16));

} // namespace TagColorImages
