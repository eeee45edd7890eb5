#pragma once

// What the chart layer accepts from its callers and data sources, and the pixel buffers it
// makes. Values beyond these come from a bug or a damaged file, never from a household; they
// are cut at the layer's public entries so that the drawing code below meets none of them.

#include <QSize>
#include <QSizeF>
#include <QString>

namespace chart {

// Records a plot asks its data source for; a larger count is cut to this.
inline constexpr int maximumRecordCount = 10000;
// Separate pieces of a scatter plot's line (runs of records between records without a value).
inline constexpr int maximumLineSegments = 300;
// Characters of a label, title or axis label; a longer text ends in an ellipsis.
inline constexpr qsizetype maximumLabelLength = 200;
// Caller's labels and tick locations kept per axis.
inline constexpr qsizetype maximumAxisLabels = 2000;
inline constexpr qsizetype maximumAxisLocations = 10000;
// Font sizes and line widths, in points.
inline constexpr qreal maximumFontSize = 400.0;
inline constexpr qreal maximumLineWidth = 1000.0;
// Pixels of one image the layer draws into (the whole graph, a pie's cache).
inline constexpr qint64 maximumImagePixels = 32LL * 1024 * 1024;
// Side of a label image, in pixels. The raster engine reads a turned image with 16-bit
// integer coordinates and crashes on one wider than 32767 pixels.
inline constexpr int maximumLabelImageSide = 4096;

// Qt Charts places a point by its distance from its axis's lower end, which near the largest
// double is no double. The layer hands it values and axis ranges in quarters: exact for all but
// the tiniest doubles, and no two of them lie further apart than a double reaches.
inline constexpr double qtChartsScale = 0.25;

// `text` cut to the label length with an ellipsis, never inside a surrogate pair.
QString boundedLabelText(const QString& text);

// The pixel size of an image of `logical` points at `ratio` pixels per point; empty when that
// is not finite and positive or holds more than `mostPixels` or a side over `mostSide`.
QSize imagePixelSize(const QSizeF& logical, qreal ratio, qint64 mostPixels, qreal mostSide = 1.0e6);

} // namespace chart
