#pragma once
// Bullets that line grouping set apart. A bullet glyph from another font often sits on its own
// baseline, so it becomes a line of one symbol that noise filtering would drop; here it rejoins
// the line of its item: the nearest line starting to its right, within three of that line's
// heights, whose vertical extent holds the bullet's centre.

#include <span>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// The lines in their order, each bullet line that found its item merged into it (members sorted
// left to right, box and mean y0 recomputed); a bullet that finds none stays as it was. An item
// line takes at most one bullet. Takes the lines by value: on most pages every line passes
// through unchanged and is moved rather than copied.
std::vector<TextLine> attach_lone_bullets(std::vector<TextLine> lines,
                                          std::span<const PageChar> chars);

}  // namespace vorlin_geometry
