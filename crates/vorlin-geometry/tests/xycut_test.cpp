#include "vorlin_geometry/xycut.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

using testing::kNaN;
using Order = std::vector<std::size_t>;

BBox box(float x0, float y0, float x1, float y1) { return BBox{x0, y0, x1, y1}; }

TEST(xycut_order, reads_layouts_in_order) {
  // Title over two columns whose paragraph gaps do not line up (median height 80, min gap 24).
  const BBox title = box(0, 720, 500, 740);
  const BBox left1 = box(0, 600, 240, 680), left2 = box(0, 500, 240, 570);
  const BBox right1 = box(300, 610, 500, 680), right2 = box(300, 480, 500, 580);
  const BBox right2_aligned = box(300, 500, 500, 570);
  // Three bands separated by equal gaps of 10; cutting the upper gap first reads c before b.
  const BBox a = box(0, 80, 100, 90), b = box(200, 60, 300, 70), c = box(0, 40, 100, 50);
  // No horizontal gap across the page; equal vertical gaps of 20 around a middle box whose parts
  // split vertically (mirrored for right to left).
  const BBox tall = box(0, 0, 10, 100), low = box(30, 0, 40, 40), high = box(60, 60, 70, 100);
  const BBox tall_r = box(60, 0, 70, 100), high_r = box(0, 60, 10, 100);
  const std::vector<std::tuple<const char*, std::vector<BBox>, bool, Order>> cases = {
      {"same line, left to right", {box(110, 0, 120, 10), box(0, 0, 10, 10)}, false, {1, 0}},
      {"same line, right to left", {box(0, 0, 10, 10), box(110, 0, 120, 10)}, true, {1, 0}},
      {"title over two columns", {left2, right1, title, left1, right2}, false, {2, 3, 0, 1, 4}},
      {"columns cut into bands when their gaps line up",
       {box(0, 600, 240, 680), left2, box(300, 600, 500, 680), right2_aligned}, false,
       {0, 2, 1, 3}},
      {"the upper of equal horizontal gaps is cut first", {a, b, c}, false, {0, 2, 1}},
      {"the left of equal vertical gaps is cut first", {tall, low, high}, false, {0, 2, 1}},
      {"the right of equal vertical gaps is cut first right to left", {tall_r, low, high_r}, true,
       {0, 2, 1}},
      {"close stacking is one leaf read top down",
       {box(0, 0, 50, 10), box(0, 22, 50, 32), box(0, 11, 50, 21)}, false, {1, 2, 0}},
      {"leaf ties on y read left to right then keep input order",
       {box(10, 0, 30, 10), box(0, 0, 20, 10), box(10, 0, 30, 10), box(5, -5, 25, 15)}, false,
       {1, 3, 0, 2}},
      {"leaf ties on y read right to left",
       {box(0, 0, 20, 10), box(10, 0, 30, 10), box(5, -5, 25, 15)}, true, {1, 2, 0}},
      {"a NaN end in the first interval keeps the axis from cutting",
       {box(0, 0, 10, kNaN), box(0, 50, 10, 60), box(0, 100, 10, 110)}, false, {2, 1, 0}},
      // The sweep finds a gap, but the inverted box's centre falls on the same side as the other.
      {"a one-sided split of an inverted box is no cut",
       {box(0, 0, 10, 10), box(100, 0, -100, 10)}, false, {1, 0}},
  };
  for (const auto& [name, boxes, right_to_left, order] : cases) {
    EXPECT_EQ(xycut_order(boxes, 0.3f, right_to_left), order) << name;
  }
}

// A box above the gap between two side-by-side boxes: with a horizontal cut it is read first,
// without one the vertical cut reads the left box first.
TEST(xycut_order, minimum_gap_is_inclusive_and_zero_gaps_never_cut) {
  // (top box's y0, the boxes' common height, gap factor, order)
  const std::vector<std::tuple<float, float, float, Order>> cases = {
      {15, 10, 0.5f, {0, 1, 2}},  // gap 5 = 0.5 x 10
      {14.9f, 10, 0.5f, {1, 0, 2}},
      {10, 10, 0.0f, {1, 0, 2}},    // touching boxes
      {10.5f, 0, 0.5f, {0, 1, 2}},  // no valid height: reference 1, minimum gap 0.5
      {10.4f, 0, 0.5f, {1, 0, 2}},
  };
  for (const auto& [top_y0, height, gap_factor, order] : cases) {
    const std::vector<BBox> boxes = {box(50, top_y0, 60, top_y0 + height),
                                     box(0, 10 - height, 10, 10), box(100, 10 - height, 110, 10)};
    EXPECT_EQ(xycut_order(boxes, gap_factor, false), order) << top_y0;
  }
}

}  // namespace
}  // namespace vorlin_geometry
