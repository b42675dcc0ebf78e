#pragma once
// Shaded listings: pages set program text apart on a filled box, and a box whose every line is
// fixed-pitch is such a shade, whereas a page's or a table's background holds prose too.

#include <span>
#include <vector>

#include "vorlin_geometry/bbox.h"

namespace vorlin_geometry {

struct ShadeLine {
  BBox bbox;
  bool monospace = false;
};

// Whether the centre of `line` lies in `box`, edges included (NaN is never inside).
bool holds_centre(const BBox& box, const BBox& line);

// The filled boxes that hold at least one line and fixed-pitch lines only, a line counting as
// held when its centre is inside and it spans no further across than the box: an inline code
// span's background holds a fragment of a line, never a whole one.
std::vector<BBox> listing_shades(std::span<const ShadeLine> lines, std::span<const BBox> fills);

// The badges on shades: boxes (framed or filled) under half a shade's width that overlap it and
// reach its right edge (within kBadgeReach points). A prompt toggle or a copy button sits there,
// beside the program text rather than in it; a highlighted line spans its shade, and a page's own
// overlays (a printed site header) sit anywhere over it.
std::vector<BBox> shade_badges(std::span<const BBox> shades, std::span<const BBox> boxes);

}  // namespace vorlin_geometry
