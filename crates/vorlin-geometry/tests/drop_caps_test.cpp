#include "vorlin_geometry/drop_caps.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

TEST(seat_drop_caps, a_large_initial_reads_as_the_first_letter_of_its_top_line) {
  // A 40-point "T" beside two lines, its box reaching down into the third.
  std::vector<PageChar> chars = {testing::glyph(U'T', 0, 70, 30, 40, 40)};
  testing::set_at(chars, U"HIS is", 32, 100);
  testing::set_at(chars, U"text", 32, 88);
  testing::set_at(chars, U"more", 0, 66);
  const std::vector<PageChar> seated = seat_drop_caps(chars);
  EXPECT_EQ(testing::texts_of(group_lines(seated), seated),
            (std::vector<std::string>{"THIS is", "text", "more"}));
}

}  // namespace
}  // namespace vorlin_geometry
