#include "vorlin_geometry/gutters.h"

#include <gtest/gtest.h>

#include "fixtures.h"

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

TEST(find_gutters, columns_on_shared_baselines) {
  std::vector<PageChar> two, three;
  set_columns(two, {50, 230}, 700, 20);
  set_columns(three, {40, 215, 390}, 700, 12);
  two.push_back(PageChar{U'x', BBox{testing::kNaN, 0, 1, 1}, 10});  // non-finite boxes are ignored
  // A column is 155 wide; the stretch runs from the first row's top to the last row's baseline.
  EXPECT_EQ(gutters_of(two, {BBox{testing::kNaN, 0, 1, 1}}),
            (std::vector<Gutter>{{205, 230, 472, 710}}));
  EXPECT_EQ(gutters_of(three), (std::vector<Gutter>{{195, 215, 568, 710}, {370, 390, 568, 710}}));
}

TEST(find_gutters, full_width_lines_and_figures_end_a_gutter) {
  std::vector<PageChar> chars;
  set_at(chars, U"A Title Running Across The Whole Text Width Of The Page", 50, 760, 14);
  set_columns(chars, {50, 230}, 700, 6);
  set_columns(chars, {50, 230}, 500, 6);
  // Below the title, and on each side of a figure spanning both columns between the rows.
  EXPECT_EQ(gutters_of(chars, {BBox{50, 560, 385, 630}}),
            (std::vector<Gutter>{{205, 230, 640, 710}, {205, 230, 440, 510}}));
}

TEST(find_gutters, finds_none_where_there_are_no_columns) {
  std::vector<PageChar> ragged, table, short_run, title;
  for (int row = 0; row < 15; ++row) {
    const float y = 700.0f - 12.0f * static_cast<float>(row);
    set_at(ragged, row % 3 == 0 ? U"short line" : kBody, 50, y);
    set_at(title, U"ab", 50, y);
    if (row < 10) {
      for (float x : {50.0f, 150.0f, 250.0f}) set_at(table, U"12.5", x, y);
    }
  }
  set_columns(short_run, {50, 230}, 700, 2);
  set_at(title, U"Note Footer Design", 50, 760, 24);
  set_at(title, U"Caption", 50, 732, 24);
  EXPECT_TRUE(gutters_of(ragged).empty()) << "one column of ragged lines";
  EXPECT_TRUE(gutters_of(table).empty()) << "a table of narrow cells";
  EXPECT_TRUE(gutters_of(short_run).empty()) << "too few lines on one side";
  EXPECT_TRUE(gutters_of(title).empty()) << "a large title's word gaps above one column";
}

TEST(find_gutters, a_ragged_edge_beside_the_gutter_is_not_a_second_gutter) {
  std::vector<PageChar> chars;
  for (int row = 0; row < 20; ++row) {
    const float y = 700.0f - 12.0f * static_cast<float>(row);
    // Left lines end between 180 and 205; the right column starts at 230.
    set_at(chars, row % 2 == 0 ? kBody : U"words of a column line se", 50, y);
    set_at(chars, kBody, 230, y);
  }
  EXPECT_EQ(gutters_of(chars), (std::vector<Gutter>{{205, 230, 472, 710}}));
}

}  // namespace
}  // namespace vorlin_geometry
