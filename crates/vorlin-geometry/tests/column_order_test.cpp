#include "vorlin_geometry/column_order.h"

#include <gtest/gtest.h>

namespace vorlin_geometry {
namespace {

TEST(column_reading_order, zones_then_columns_then_top_to_bottom) {
  // Title; two columns whose paragraph gaps line up (a plain XY-cut would read them band by
  // band); a full-width figure; then one more paragraph per column.
  const std::vector<BBox> boxes = {
      {50, 400, 250, 500},   // 0 left, lower
      {300, 600, 500, 700},  // 1 right, upper
      {50, 750, 500, 780},   // 2 title
      {50, 600, 250, 700},   // 3 left, upper
      {300, 400, 500, 500},  // 4 right, lower
      {50, 250, 500, 380},   // 5 figure
      {300, 100, 500, 200},  // 6 right, below the figure
      {50, 100, 250, 200},   // 7 left, below the figure
  };
  const std::vector<ColumnSlot> slots = {{1, 0}, {1, 1}, {0, 0}, {1, 0},
                                         {1, 1}, {2, 0}, {3, 1}, {3, 0}};
  EXPECT_EQ(column_reading_order(boxes, slots, 0.3f),
            (std::vector<std::size_t>{2, 3, 0, 1, 4, 5, 7, 6}));
}

// Empty input reads as nothing; slots must match the boxes one for one.
TEST(column_reading_order, a_centred_heading_over_short_lines_comes_first_and_lengths_match) {
  // Past the page number's cut, nothing spans the gap between the short lines and the heading's
  // left edge: a plain cut would read the lines beside the heading first.
  const std::vector<BBox> boxes = {
      {70, 630, 150, 640}, {70, 600, 170, 610}, {230, 685, 370, 700}, {295, 20, 300, 30}};
  EXPECT_EQ(column_reading_order(boxes, std::vector<ColumnSlot>(4), 0.3f),
            (std::vector<std::size_t>{2, 0, 1, 3}));
  EXPECT_TRUE(column_reading_order({}, {}, 0.3f).empty());
  EXPECT_THROW(column_reading_order(boxes, std::vector<ColumnSlot>(1), 0.3f),
               std::invalid_argument);
}

}  // namespace
}  // namespace vorlin_geometry
