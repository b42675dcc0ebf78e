#include "vorlin_geometry/shades.h"

#include <gtest/gtest.h>

namespace vorlin_geometry {
namespace {

TEST(shades, a_shade_holds_whole_fixed_pitch_lines_only) {
  const std::vector<ShadeLine> lines = {
      {BBox{50, 700, 300, 710}, false},  // prose
      {BBox{60, 650, 200, 660}, true},   // code
      {BBox{60, 638, 250, 648}, true},   // code
  };
  const BBox page{0, 0, 600, 800}, code{55, 630, 500, 665}, span{100, 648, 150, 662};
  EXPECT_EQ(listing_shades(lines, std::vector<BBox>{page, code, span, BBox{0, 0, 1, 1}}),
            std::vector<BBox>{code});
}

TEST(shades, badges_sit_at_a_shade_right_edge) {
  const BBox shade{55, 630, 500, 665};
  const BBox toggle{470, 650, 501, 666}, overlay{100, 640, 120, 666}, highlight{55, 637, 500, 649};
  const BBox elsewhere{470, 700, 501, 720};
  EXPECT_EQ(shade_badges(std::vector<BBox>{shade},
                         std::vector<BBox>{toggle, overlay, highlight, elsewhere, shade}),
            std::vector<BBox>{toggle});
}

}  // namespace
}  // namespace vorlin_geometry
