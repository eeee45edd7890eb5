#pragma once

#include "uikit/popover/PKPopoverWindowFrame.h"

/// The popover panels' fills and edges, read from the palette the frame is painted with, so
/// that a shown popover follows an appearance change.
namespace PopoverColors {

/// A popover without a preset: a light grey panel with a white edge, or their dark counterparts.
PKPopoverWindowFrame::PaletteColor plainFill();
PKPopoverWindowFrame::PaletteColor plainEdge();
/// Editors and warnings: the text-field background.
PKPopoverWindowFrame::PaletteColor contentFill();
/// Editors: the light palette's Light is white like the lists the editors open from, so the
/// edge is drawn in Mid there.
PKPopoverWindowFrame::PaletteColor editEdge();
/// Warnings: the accent colour.
PKPopoverWindowFrame::PaletteColor warningEdge();

} // namespace PopoverColors
