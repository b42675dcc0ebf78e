#include "vorlin_geometry/shades.h"

#include <algorithm>

namespace vorlin_geometry {

namespace {

// A badge is narrower than this share of its shade, and reaches this close to its right edge.
constexpr float kBadgeShare = 0.5f;
constexpr float kBadgeReach = 2.0f;  // points

bool overlap(const BBox& a, const BBox& b) {
  return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

}  // namespace

bool holds_centre(const BBox& box, const BBox& line) {
  const float x = line.centre_x(), y = line.centre_y();
  return x >= box.x0 && x <= box.x1 && y >= box.y0 && y <= box.y1;
}

std::vector<BBox> listing_shades(std::span<const ShadeLine> lines, std::span<const BBox> fills) {
  std::vector<BBox> shades;
  for (const BBox& fill : fills) {
    bool any = false, all_fixed = true;
    for (const ShadeLine& line : lines) {
      if (!holds_centre(fill, line.bbox)) continue;
      if (!(line.bbox.x0 >= fill.x0 && line.bbox.x1 <= fill.x1)) {
        all_fixed = false;  // a fragment: the box is a span's background
        continue;
      }
      any = true;
      all_fixed = all_fixed && line.monospace;
    }
    if (any && all_fixed) shades.push_back(fill);
  }
  return shades;
}

std::vector<BBox> shade_badges(std::span<const BBox> shades, std::span<const BBox> boxes) {
  std::vector<BBox> badges;
  for (const BBox& box : boxes) {
    if (std::ranges::any_of(shades, [&box](const BBox& shade) {
          return overlap(box, shade) && box.width() < kBadgeShare * shade.width() &&
                 box.x1 >= shade.x1 - kBadgeReach;
        })) {
      badges.push_back(box);
    }
  }
  return badges;
}

}  // namespace vorlin_geometry
