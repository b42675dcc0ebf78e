#pragma once
// From PDFium's raw user space to the visible page: PDFium reports character
// and object boxes in the page's unrotated user space, while the page's size
// already has its crop box and /Rotate applied. A PageFrame maps the former
// into the latter: y axis up, origin at the visible lower left corner.

namespace vorlin_core {

// A box in any of the coordinate systems involved; not necessarily normalised.
struct RawBox {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// A PDF affine transform: a point (x, y) becomes (a x + c y + e, b x + d y + f).
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
};

// `inner` then `outer`: the transform of a form's content inside an enclosing form.
Affine then(const Affine& inner, const Affine& outer);

// The smallest upright box holding the image of `box` under `transform`.
RawBox transform_box(const RawBox& box, const Affine& transform);

struct PageFrame {
  RawBox visible;    // the page's bounding box (crop box within media box), user space
  int rotation = 0;  // clockwise quarter turns, 0..3; other values are taken modulo 4

  // `box` in visible-page coordinates, normalised so that x0 <= x1 and y0 <= y1
  // (a NaN coordinate is left where it falls).
  RawBox map(const RawBox& box) const;
};

}  // namespace vorlin_core
