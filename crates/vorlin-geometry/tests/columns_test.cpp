#include "vorlin_geometry/columns.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

using testing::set_at;
using testing::texts_of;

TEST(column_layout, merges_overlapping_gutters_into_sections) {
  const std::vector<Gutter> gutters = {
      {380, 390, 400, 700}, {200, 210, 400, 700}, {290, 300, 100, 300}};
  const ColumnLayout layout = column_layout(gutters);
  ASSERT_EQ(layout.sections.size(), 2u);
  EXPECT_EQ(layout.sections[0].splits, (std::vector<float>{205, 385}));
  EXPECT_EQ(layout.sections[1].splits, (std::vector<float>{295}));
}

TEST(locate, numbers_zones_top_down_and_columns_left_to_right) {
  const ColumnLayout layout =
      column_layout(std::vector<Gutter>{{200, 210, 400, 700}, {290, 300, 100, 300}});
  const std::vector<std::tuple<const char*, BBox, ColumnSlot>> cases = {
      {"title above everything", {50, 750, 500, 770}, {0, 0}},
      {"left column, centre on the section's top", {50, 695, 190, 705}, {1, 0}},
      {"right column of the first section", {220, 600, 390, 610}, {1, 1}},
      {"full width between the sections", {50, 340, 500, 360}, {2, 0}},
      {"right column of the second section", {310, 200, 500, 210}, {3, 1}},
      {"below every section", {50, 40, 500, 50}, {4, 0}},
      {"non-finite box", {testing::kNaN, 0, 1, 1}, {0, 0}},
  };
  for (const auto& [name, box, slot] : cases) EXPECT_EQ(locate(layout, box), slot) << name;
}

TEST(split_at_gutters, cuts_lines_in_the_stretch_and_keeps_crossing_lines_whole) {
  std::vector<PageChar> chars;
  set_at(chars, U"Full Width Title That Crosses", 50, 720);
  set_at(chars, U"left text  ", 50, 700);  // trailing spaces stay left
  set_at(chars, U"right text", 230, 700);
  set_at(chars, U"below the stretch", 50, 600);
  const std::vector<Gutter> gutters = {{160, 230, 650, 730}};
  const std::vector<TextLine> out = split_at_gutters(group_lines(chars), chars, gutters);
  EXPECT_EQ(texts_of(out, chars),
            (std::vector<std::string>{"Full Width Title That Crosses", "left text  ", "right text",
                                      "below the stretch"}));
  EXPECT_FLOAT_EQ(out[2].bbox.x0, 230);
  EXPECT_FLOAT_EQ(out[1].bbox.x1, 105);
  EXPECT_FLOAT_EQ(out[2].mean_y0, 700);
}

}  // namespace
}  // namespace vorlin_geometry
