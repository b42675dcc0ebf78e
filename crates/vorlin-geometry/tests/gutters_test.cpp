#include "vorlin_geometry/gutters.h"

#include <gtest/gtest.h>

#include <limits>

#include "layout_fixtures.h"

namespace vorlin_geometry {
namespace {

using testing::set_at;

constexpr std::u32string_view kBody = U"words of a column line set here";  // 31 chars, 155 wide

// Rows of body text at 12-point pitch from y = top downwards, one column at each x.
void set_columns(std::vector<PageChar>& chars, std::initializer_list<float> xs, float top,
                 int rows) {
  for (int row = 0; row < rows; ++row) {
    for (float x : xs) set_at(chars, kBody, x, top - 12.0f * static_cast<float>(row));
  }
}

std::vector<Gutter> gutters_of(const std::vector<PageChar>& chars,
                               std::vector<BBox> obstacles = {}) {
  return find_gutters(group_lines(chars), chars, obstacles);
}

TEST(find_gutters, two_columns_on_shared_baselines) {
  std::vector<PageChar> chars;
  set_columns(chars, {50, 230}, 700, 20);
  const std::vector<Gutter> gutters = gutters_of(chars);
  ASSERT_EQ(gutters.size(), 1u);
  EXPECT_FLOAT_EQ(gutters[0].x0, 205);  // 50 + 155
  EXPECT_FLOAT_EQ(gutters[0].x1, 230);
  EXPECT_FLOAT_EQ(gutters[0].top, 710);
  EXPECT_FLOAT_EQ(gutters[0].bottom, 472);
}

TEST(find_gutters, three_columns) {
  std::vector<PageChar> chars;
  set_columns(chars, {40, 215, 390}, 700, 12);
  const std::vector<Gutter> gutters = gutters_of(chars);
  ASSERT_EQ(gutters.size(), 2u);
  EXPECT_FLOAT_EQ(gutters[0].middle(), 205);
  EXPECT_FLOAT_EQ(gutters[1].middle(), 380);
}

TEST(find_gutters, full_width_lines_and_figures_end_a_gutter) {
  std::vector<PageChar> chars;
  set_at(chars, U"A Title Running Across The Whole Text Width Of The Page", 50, 760, 14);
  set_columns(chars, {50, 230}, 700, 6);
  set_columns(chars, {50, 230}, 500, 6);
  // The figure spans both columns between the two blocks of rows.
  const std::vector<Gutter> gutters = gutters_of(chars, {BBox{50, 560, 385, 630}});
  ASSERT_EQ(gutters.size(), 2u);
  EXPECT_FLOAT_EQ(gutters[0].top, 710);  // below the title
  EXPECT_FLOAT_EQ(gutters[0].bottom, 640);
  EXPECT_FLOAT_EQ(gutters[1].top, 510);
}

TEST(find_gutters, finds_none_where_there_are_no_columns) {
  struct Case {
    const char* name;
    std::vector<PageChar> chars;
  };
  std::vector<Case> cases(4);
  cases[0].name = "one column of ragged lines";
  for (int row = 0; row < 15; ++row) {
    set_at(cases[0].chars, row % 3 == 0 ? U"short line" : kBody, 50, 700.0f - 12.0f * row);
  }
  cases[1].name = "a table of narrow cells";
  for (int row = 0; row < 10; ++row) {
    for (float x : {50.0f, 150.0f, 250.0f})
      set_at(cases[1].chars, U"12.5", x, 700.0f - 12.0f * row);
  }
  cases[2].name = "too few lines on one side";
  set_columns(cases[2].chars, {50, 230}, 700, 2);
  cases[3].name = "a large title's word gaps above one column";
  set_at(cases[3].chars, U"Note Footer Design", 50, 760, 24);
  set_at(cases[3].chars, U"Caption", 50, 732, 24);
  for (int row = 0; row < 15; ++row) set_at(cases[3].chars, U"ab", 50, 700.0f - 12.0f * row);
  for (const Case& c : cases) EXPECT_TRUE(gutters_of(c.chars).empty()) << c.name;
}

TEST(find_gutters, a_ragged_edge_beside_the_gutter_is_not_a_second_gutter) {
  std::vector<PageChar> chars;
  for (int row = 0; row < 20; ++row) {
    const float y = 700.0f - 12.0f * static_cast<float>(row);
    // Left lines end between 180 and 205; the right column starts at 230.
    set_at(chars, row % 2 == 0 ? kBody : U"words of a column line se", 50, y);
    set_at(chars, kBody, 230, y);
  }
  EXPECT_EQ(gutters_of(chars).size(), 1u);
}

TEST(find_gutters, ignores_non_finite_boxes) {
  std::vector<PageChar> chars;
  set_columns(chars, {50, 230}, 700, 10);
  chars.push_back(PageChar{U'x', BBox{std::numeric_limits<float>::quiet_NaN(), 0, 1, 1}, 10});
  EXPECT_EQ(gutters_of(chars, {BBox{std::numeric_limits<float>::quiet_NaN(), 0, 1, 1}}).size(), 1u);
}

}  // namespace
}  // namespace vorlin_geometry
