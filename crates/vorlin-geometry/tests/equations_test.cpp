#include "vorlin_geometry/equations.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

TEST(equations, numbers) {
  for (std::u32string_view word : {U"(1)", U"(12)", U"(3.4)", U"(2a)"}) {
    EXPECT_TRUE(is_equation_number(word));
  }
  for (std::u32string_view word : {U"()", U"(a)", U"(1.)", U"(1", U"(x2)", U"(.5)", U"[1]"}) {
    EXPECT_FALSE(is_equation_number(word));
  }
}

// A number in running text follows a word space; a display's number stands far apart.
TEST(equations, a_number_ends_a_display_when_set_apart) {
  std::vector<PageChar> chars;
  TextLine display = testing::set_at(chars, U"x=1", 100, 700);
  const TextLine number = testing::set_at(chars, U"(1)", 130, 700);  // 15 points clear
  display.char_indices.insert(display.char_indices.end(), number.char_indices.begin(),
                              number.char_indices.end());
  EXPECT_FALSE(ends_in_equation_number(display, chars, U"x=1 (1)"));  // 15 < 2 x 10
  for (std::size_t p : number.char_indices) chars[p].bbox.x0 += 10, chars[p].bbox.x1 += 10;
  EXPECT_TRUE(ends_in_equation_number(display, chars, U"x=1 (1)"));
  EXPECT_FALSE(ends_in_equation_number(display, chars, U"(2a) x=1 (1)"));  // a row of labels
  EXPECT_FALSE(ends_in_equation_number(number, chars, U"(1)"));            // a number alone
}

}  // namespace
}  // namespace vorlin_geometry
