#include "vorlin_geometry/bbox.h"

#include <cmath>

#include "vorlin_geometry/float_rules.h"

namespace vorlin_geometry {

std::string BBoxError::debug_string() const {
  if (kind == Kind::NonFinite) return "NonFinite";
  return "Inverted { x0: \"" + x0 + "\", x1: \"" + x1 + "\", y0: \"" + y0 + "\", y1: \"" + y1 +
         "\" }";
}

std::expected<BBox, BBoxError> BBox::create(float x0, float y0, float x1, float y1) {
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) {
    return std::unexpected(BBoxError{BBoxError::Kind::NonFinite, {}, {}, {}, {}});
  }
  if (x0 > x1 || y0 > y1) {
    return std::unexpected(BBoxError{BBoxError::Kind::Inverted, shortest_float_text(x0),
                                     shortest_float_text(x1), shortest_float_text(y0),
                                     shortest_float_text(y1)});
  }
  return BBox{x0, y0, x1, y1};
}

const BBox DEFAULT_PAGE_BOX = *BBox::create(0.0f, 0.0f, 595.0f, 842.0f);

}  // namespace vorlin_geometry
