#pragma once
// Axis-aligned box in PDF points, y axis pointing up. `create` checks its
// input and reports failures as values; `union_of` never fails.

#include <expected>
#include <string>

#include "vorlin_geometry/float_rules.h"

namespace vorlin_geometry {

struct BBoxError {
  enum class Kind { NonFinite, Inverted };
  Kind kind;
  // Inverted only: each coordinate as its shortest decimal text.
  std::string x0, x1, y0, y1;

  // Debug form naming the variant and its fields in order.
  std::string debug_string() const;
  bool operator==(const BBoxError&) const = default;
};

struct BBox {
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;

  // NonFinite when any coordinate is NaN or infinite (checked first),
  // Inverted when x0 > x1 or y0 > y1; equal edges are allowed.
  static std::expected<BBox, BBoxError> create(float x0, float y0, float x1, float y1);

  // Edge-wise NaN-ignoring minNum/maxNum; inherits whatever the inputs hold.
  static BBox union_of(const BBox& a, const BBox& b) {
    return BBox{min_num(a.x0, b.x0), min_num(a.y0, b.y0), max_num(a.x1, b.x1),
                max_num(a.y1, b.y1)};
  }

  float width() const { return x1 - x0; }
  float height() const { return y1 - y0; }
  float centre_x() const { return (x0 + x1) * 0.5f; }
  float centre_y() const { return (y0 + y1) * 0.5f; }

  bool operator==(const BBox&) const = default;
};

// The page box used when a page's reported size does not make a valid box.
extern const BBox DEFAULT_PAGE_BOX;

}  // namespace vorlin_geometry
