#pragma once
// Reading order of a page whose elements know their column slot: zones top to bottom, within a
// section its columns left to right, and within one column (or one full-width zone) first the
// boxes that each lie wholly above all the rest, top down, then the XY-cut order of the rest.

#include <cstddef>
#include <span>
#include <vector>

#include "vorlin_geometry/columns.h"

namespace vorlin_geometry {

// A permutation of 0..n-1; `slots[i]` places `boxes[i]`. Inputs of unequal length are a broken
// invariant (std::invalid_argument).
std::vector<std::size_t> column_reading_order(std::span<const BBox> boxes,
                                              std::span<const ColumnSlot> slots, float gap_factor);

}  // namespace vorlin_geometry
