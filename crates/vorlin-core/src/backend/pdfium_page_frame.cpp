#include "vorlin_core/backend/pdfium_page_frame.h"

#include <algorithm>
#include <utility>

namespace vorlin_core {
namespace {

struct Point {
  double x, y;
};

Point apply(const Affine& m, Point p) {
  return {m.a * p.x + m.c * p.y + m.e, m.b * p.x + m.d * p.y + m.f};
}

// Swaps rather than min/max so that a NaN coordinate is not silently dropped.
RawBox normalised(RawBox box) {
  if (box.x0 > box.x1) std::swap(box.x0, box.x1);
  if (box.y0 > box.y1) std::swap(box.y0, box.y1);
  return box;
}

}  // namespace

Affine then(const Affine& inner, const Affine& outer) {
  return {inner.a * outer.a + inner.b * outer.c,
          inner.a * outer.b + inner.b * outer.d,
          inner.c * outer.a + inner.d * outer.c,
          inner.c * outer.b + inner.d * outer.d,
          inner.e * outer.a + inner.f * outer.c + outer.e,
          inner.e * outer.b + inner.f * outer.d + outer.f};
}

RawBox transform_box(const RawBox& box, const Affine& transform) {
  const Point corners[4] = {apply(transform, {box.x0, box.y0}), apply(transform, {box.x1, box.y0}),
                            apply(transform, {box.x0, box.y1}), apply(transform, {box.x1, box.y1})};
  RawBox out{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
  for (const Point& p : corners) {
    out.x0 = std::min(out.x0, p.x);
    out.y0 = std::min(out.y0, p.y);
    out.x1 = std::max(out.x1, p.x);
    out.y1 = std::max(out.y1, p.y);
  }
  return out;
}

RawBox PageFrame::map(const RawBox& box) const {
  const double width = visible.x1 - visible.x0;
  const double height = visible.y1 - visible.y0;
  // Relative to the visible lower left corner, still unrotated.
  const double x0 = box.x0 - visible.x0, x1 = box.x1 - visible.x0;
  const double y0 = box.y0 - visible.y0, y1 = box.y1 - visible.y0;
  // /Rotate turns the page clockwise: after a quarter turn the unrotated left
  // edge is the top, so x grows downwards and y grows to the right.
  switch (((rotation % 4) + 4) % 4) {
    case 1:
      return normalised({y0, width - x0, y1, width - x1});
    case 2:
      return normalised({width - x0, height - y0, width - x1, height - y1});
    case 3:
      return normalised({height - y0, x0, height - y1, x1});
    default:
      return normalised({x0, y0, x1, y1});
  }
}

}  // namespace vorlin_core
