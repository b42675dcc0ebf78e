#include "vorlin_geometry/noise.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

using testing::kNaN;

const BBox kPage{0, 0, 600, 1000};

TEST(noise_rules, hold_exactly_at_their_boundaries) {
  struct Case {
    const char* name;
    std::u32string text;
    float relative;            // mean_y0 as a share of the page height
    std::vector<float> sizes;  // per character; a single entry applies to all
    bool label, symbol, page_number;
  };
  const std::vector<Case> cases = {
      {"large number in the top third", U"12", 0.7f, {14}, true, false, false},
      {"version label at median size 12", U"v2.1", 0.9f, {12}, true, false, false},
      {"letter other than v", U"2a", 0.9f, {12}, false, false, false},
      {"lone full stop", U".", 0.9f, {12}, true, true, false},
      {"size just below 12", U"12", 0.9f, {11.99f}, false, false, false},
      {"upper median of valid sizes", U"123", 0.9f, {kNaN, 10, 14}, true, false, false},
      {"all sizes invalid", U"12", 0.7f, {kNaN, -1}, false, false, false},
      {"digits split by a space", U"1 2", 0.02f, {10}, false, false, true},
      {"digits at exactly 0.05", U"12", 0.05f, {10}, false, false, true},
      {"digits at 0.06", U"12", 0.06f, {10}, false, false, false},
      {"non-ASCII digits are not a page number", U"\u0663", 0.02f, {10}, false, false, false},
      {"bullet mid-page", U" \u2022 ", 0.5f, {10}, false, true, false},
      {"whitespace only at the foot", U" \t ", 0.02f, {10}, false, false, false},
      {"whitespace only at the top", U"  ", 0.9f, {14}, false, false, false},
      {"NaN position does not stop the position rules", U"12", kNaN, {14}, true, false, true},
  };
  for (const Case& c : cases) {
    std::vector<PageChar> chars;
    const TextLine line = testing::set_at(chars, c.text, 0, c.relative * kPage.y1);
    for (std::size_t i = 0; i < chars.size(); ++i) {
      chars[i].font_size = c.sizes.at(c.sizes.size() == 1 ? 0 : i);
    }
    EXPECT_EQ(is_top_numeric_label(line, chars, kPage), c.label) << c.name;
    EXPECT_EQ(is_lone_symbol(line, chars), c.symbol) << c.name;
    EXPECT_EQ(is_bottom_page_number(line, chars, kPage), c.page_number) << c.name;
  }
}

TEST(noise_rules, top_band_starts_at_exactly_two_thirds_of_a_page_with_height) {
  std::vector<PageChar> chars;
  const TextLine at_band = testing::set_at(chars, U"12", 0, 2.0f, 14.0f);
  const TextLine below = testing::set_at(chars, U"12", 0, 1.99f, 14.0f);
  EXPECT_TRUE(is_top_numeric_label(at_band, chars, BBox{0, 0, 100, 3}));
  EXPECT_FALSE(is_top_numeric_label(below, chars, BBox{0, 0, 100, 3}));
  // A page without height disables the position rules.
  const TextLine number = testing::set_at(chars, U"3", 0, 0, 20);
  for (const BBox& page : {BBox{0, 0, 0, 0}, BBox{0, 10, 100, 5}}) {
    EXPECT_FALSE(is_top_numeric_label(number, chars, page));
    EXPECT_FALSE(is_bottom_page_number(number, chars, page));
  }
}

}  // namespace
}  // namespace vorlin_geometry
