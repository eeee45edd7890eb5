#pragma once

#include <QFont>
#include <QStringList>

namespace platform {

/// The design's text family, "Helvetica Neue", followed by its metric-compatible stand-in,
/// Liberation Sans (Debian's fonts-liberation). Naming the stand-in matters: asked for the
/// design's family alone, fontconfig answers with its default face, which is much wider, and
/// text laid out for the design's widths is cut.
QStringList designFontFamilies();

/// The design's font at `points` design points with `weight`. A design point is one pixel at
/// device ratio 1, like every length of the window's geometry, so the text keeps its place
/// among the frames whatever dots per inch the display reports. The stand-in has no light
/// or thin cut: those weights draw as its regular one.
QFont designFont(int points, QFont::Weight weight = QFont::Normal);

} // namespace platform
