#include "vorlin_geometry/shades.h"

namespace vorlin_geometry {

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
      any = true;
      all_fixed = all_fixed && line.monospace;
    }
    if (any && all_fixed) shades.push_back(fill);
  }
  return shades;
}

}  // namespace vorlin_geometry
