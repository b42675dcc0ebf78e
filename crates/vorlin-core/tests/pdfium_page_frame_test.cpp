#include "vorlin_core/backend/pdfium_page_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace vorlin_core {
namespace {

// Exact: every value here is a small integer, which the mapping must keep exact.
void expect_box(const RawBox& actual, const RawBox& expected) {
  const auto corners = [](const RawBox& b) { return std::tuple(b.x0, b.y0, b.x1, b.y1); };
  EXPECT_EQ(corners(actual), corners(expected));
}

// Visible box (10, 20)-(600, 780): 590 wide, 760 high before rotation. The
// character sits 62..70 right of its left edge and 680..692 above its bottom.
TEST(page_frame, map_turns_clockwise_about_the_visible_box_and_affines_compose) {
  const std::vector<std::pair<int, RawBox>> cases = {
      {0, {62, 680, 70, 692}},
      {1, {680, 520, 692, 528}},  // the left edge becomes the top: y counts down from it
      {2, {520, 68, 528, 80}},
      {3, {68, 62, 80, 70}},
      {5, {680, 520, 692, 528}},  // out-of-range values act modulo four
      {-1, {68, 62, 80, 70}},
  };
  for (const auto& [rotation, expected] : cases) {
    SCOPED_TRACE(rotation);
    expect_box(PageFrame{{10, 20, 600, 780}, rotation}.map({72, 700, 80, 712}), expected);
  }
  // An inverted box comes back the right way round.
  expect_box(PageFrame{{0, 0, 100, 100}, 0}.map({30, 40, 10, 20}), {10, 20, 30, 40});
  // `then` applies the inner transform first; boxes bound their turned corners.
  const Affine scale{2, 0, 0, 2, 0, 0};
  const Affine shift{1, 0, 0, 1, 100, 200};
  expect_box(transform_box({1, 1, 2, 3}, then(scale, shift)), {102, 202, 104, 206});
  const Affine quarter_turn{0, 1, -1, 0, 0, 0};  // counter-clockwise
  expect_box(transform_box({0, 0, 2, 1}, quarter_turn), {-1, 0, 0, 2});
}

}  // namespace
}  // namespace vorlin_core
