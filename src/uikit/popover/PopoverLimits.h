#pragma once

#include "platform/SaneGeometry.h"

// A popover sits beside an anchor on one screen: its content and its decorations (border,
// corner radius, arrow, margins) are clamped to sizes no screen exceeds, so that its window,
// its outline and its shape mask stay small enough to allocate and draw.
namespace PopoverLimits {

/// The largest width or height of a popover's content, in points.
inline constexpr qreal maximumContent = 10000;
/// The largest border width, corner radius, arrow side, margin or distance, in points.
inline constexpr qreal maximumDecoration = 1000;

inline QSizeF contentSize(const QSizeF& size)
{
    return platform::saneSize(size, maximumContent);
}

inline qreal decoration(qreal value)
{
    return platform::saneLength(value, maximumDecoration);
}

inline QSizeF decoration(const QSizeF& size)
{
    return platform::saneSize(size, maximumDecoration);
}

} // namespace PopoverLimits
