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

// The filled boxes that hold at least one line (by its centre) and fixed-pitch lines only.
std::vector<BBox> listing_shades(std::span<const ShadeLine> lines, std::span<const BBox> fills);

}  // namespace vorlin_geometry
