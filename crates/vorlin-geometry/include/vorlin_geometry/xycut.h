#pragma once
// Reading order of a page's content boxes by recursive XY-cut: split at the widest empty stretch
// (at least gap_factor x the median box height), read the upper / left part first, alternate the
// axis, and order what cannot be split top to bottom, then left to right (right to left when
// `right_to_left`). Always a permutation of 0..n-1, whatever the boxes hold (NaN, infinite or
// inverted boxes included).

#include <cstddef>
#include <span>
#include <vector>

#include "vorlin_geometry/bbox.h"

namespace vorlin_geometry {

// The gap factor both layouts read their pages with.
inline constexpr float kReadingGapFactor = 0.3f;

std::vector<std::size_t> xycut_order(std::span<const BBox> boxes, float gap_factor,
                                     bool right_to_left);

}  // namespace vorlin_geometry
