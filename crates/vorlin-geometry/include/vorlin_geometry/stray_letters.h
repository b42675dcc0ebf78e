#pragma once
// Letters that line grouping set apart from their line. A logo's raised or lowered letter (the
// "A" and "E" of LaTeX in a heading) can fall outside the line tolerance, or join another
// column's line that the gutters cut again, and then reads as a line of its own between two
// others. Such a short line rejoins the line it starts inside of and whose height it mostly
// shares.

#include <span>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// The lines in their order, each line of one or two letters (and spaces) whose left edge lies
// within a longer line's extent and whose box shares at least half its height with that line's
// merged into it (the longer line sharing most of its height; members sorted left to right, box
// and mean y0 recomputed); every other line passes through unchanged.
std::vector<TextLine> attach_stray_letters(std::vector<TextLine> lines,
                                           std::span<const PageChar> chars);

}  // namespace vorlin_geometry
