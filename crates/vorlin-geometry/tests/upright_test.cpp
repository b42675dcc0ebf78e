#include "vorlin_geometry/upright.h"

#include <gtest/gtest.h>

namespace vorlin_geometry {
namespace {

// `count` glyphs 5 x 10 running from (x, y) in direction `angle` (0, 90, 180 or 270), each box as
// a viewer of the page sees it.
void run(std::vector<PageChar>& chars, int count, float x, float y, float angle) {
  const int turns = quarter_turns(angle);
  for (int i = 0; i < count; ++i) {
    const float step = 5.0f * static_cast<float>(i);
    BBox box{x + step, y, x + step + 5, y + 10};
    if (turns == 1) box = BBox{x - 10, y + step, x, y + step + 5};
    if (turns == 2) box = BBox{x - step - 5, y - 10, x - step, y};
    if (turns == 3) box = BBox{x, y - step - 5, x + 10, y - step};
    chars.push_back(PageChar{static_cast<char32_t>(U'a' + chars.size()), box, 10, angle});
  }
}

// Whether the characters read in order left to right on one line, each on the page.
void expect_one_line(const UprightPage& page, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    const BBox& box = page.chars[i].bbox;
    EXPECT_GE(box.x0, page.page.x0 - 0.01f);
    EXPECT_LE(box.y1, page.page.y1 + 0.01f);
    EXPECT_NEAR(box.height(), 10, 0.01f);
    if (i > from) {
      EXPECT_NEAR(box.x0, page.chars[i - 1].bbox.x1, 0.01f) << i;
      EXPECT_NEAR(box.y0, page.chars[i - 1].bbox.y0, 0.01f) << i;
    }
  }
}

class turn_upright_page : public testing::TestWithParam<float> {};

TEST_P(turn_upright_page, turns_a_page_of_one_direction_whole) {
  std::vector<PageChar> chars;
  run(chars, 4, 300, 300, GetParam());
  run(chars, 4, 200, 200, GetParam());
  const UprightPage page = turn_upright(chars, BBox{0, 0, 600, 800});
  const bool sideways = quarter_turns(GetParam()) % 2 == 1;
  EXPECT_EQ(page.page.width(), sideways ? 800 : 600);
  expect_one_line(page, 0, 4);
  expect_one_line(page, 4, 8);
}

INSTANTIATE_TEST_SUITE_P(quarters, turn_upright_page, testing::Values(0.0f, 90.0f, 180.0f, 270.0f));

TEST(turn_upright, turns_a_minority_run_about_its_start) {
  std::vector<PageChar> chars;
  run(chars, 6, 100, 500, 0);
  run(chars, 3, 50, 100, 90);  // a margin note reading upwards
  const UprightPage page = turn_upright(chars, BBox{0, 0, 600, 800});
  EXPECT_EQ(page.turns, 0);
  expect_one_line(page, 0, 6);
  expect_one_line(page, 6, 9);
  EXPECT_NEAR(page.chars[6].bbox.centre_y(), 102.5f, 0.01f);
}

}  // namespace
}  // namespace vorlin_geometry
