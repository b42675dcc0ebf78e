#pragma once
// Text that runs up, down or upside down on its page, turned to read left to right. A page whose
// text mostly runs one way (a landscape table set sideways, a page turned by /Rotate) is turned
// as a whole; each run of characters running another way is then turned about its first
// character, so that it reads as one line where it starts.

#include <span>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// The nearest quarter turn of `angle` degrees counterclockwise, 0..3; NaN reads as 0.
int quarter_turns(float angle);

struct UprightPage {
  std::vector<PageChar> chars;  // angles all 0
  BBox page;                    // the page's box once turned
  int turns = 0;                // quarter turns counterclockwise the whole page took
};

// `chars` turned to read upright on `page` (see above).
UprightPage turn_upright(std::span<const PageChar> chars, const BBox& page);

// `box` on `page` after the page turned `turns` quarter turns counterclockwise, with the turned
// page's lower left corner at `page`'s.
BBox turn_box(const BBox& box, const BBox& page, int turns);

}  // namespace vorlin_geometry
