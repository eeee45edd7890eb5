#pragma once

namespace platform {

/// The edges of a rectangle in the design's y-up space, by their stored numbers: MinY is
/// the bottom, MaxY the top. Popovers anchor to an edge; a window's bars lie along one.
enum class RectEdge : unsigned { MinX = 0, MinY = 1, MaxX = 2, MaxY = 3 };

} // namespace platform
