#include "vorlin_geometry/word_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

using testing::glyph;
using testing::kInf;
using testing::kNaN;
using Groups = std::vector<std::vector<std::size_t>>;

// Characters 5 wide from x = 0 with the given y0s, as tall as their size.
std::vector<PageChar> row(std::initializer_list<float> y0s, float size = 10) {
  std::vector<PageChar> chars;
  for (float y0 : y0s) chars.push_back(glyph(U'a', 5.0f * chars.size(), y0, 5, size, size));
  return chars;
}

// Size 10 gives a tolerance of exactly 4 points; size 1 (or no valid size) gives 0.4.
TEST(group_lines, groups_by_running_mean_of_y0) {
  const std::vector<std::tuple<const char*, std::vector<PageChar>, Groups>> cases = {
      {"distance equal to tolerance joins", row({100, 96}), {{0, 1}}},
      {"distance above tolerance splits", row({100, 95.9f}), {{0}, {1}}},
      {"compares with the running mean, not the nearest member",
       row({100, 100, 99.7f, 99.4f}, 1),
       {{0, 1, 2}, {3}}},
      {"invalid sizes fall back to a tolerance of 0.4",
       {glyph(U'a', 0, 100, 5, 1, 0), glyph(U'b', 5, 99.75f, 5, 1, kNaN),
        glyph(U'c', 10, 99.5f, 5, 1, -3), glyph(U'd', 15, 99.0f, 5, 1, kInf)},
       {{0, 1, 2}, {3}}},
      {"subscript below the tolerance comes after its neighbours",
       {glyph(U'H', 0, 100), glyph(U'2', 5, 95.5f, 3, 5, 6), glyph(U'O', 10, 100)},
       {{0, 2}, {1}}},
      {"two columns on one baseline make one line ordered by x0",
       {glyph(U'r', 300, 100), glyph(U'l', 0, 100), glyph(U's', 305, 100), glyph(U'm', 5, 100)},
       {{1, 3, 0, 2}}},
      {"equal y0 and x0 keep the backend order",
       {glyph(U'a', 0, 100), glyph(U'b', 0, 100), glyph(U'c', 0, 100)},
       {{0, 1, 2}}},
  };
  for (const auto& [name, chars, lines] : cases) {
    Groups got;
    for (const TextLine& line : group_lines(chars)) got.push_back(line.char_indices);
    EXPECT_EQ(got, lines) << name;
  }
}

TEST(line_text, breaks_words_on_gaps_above_the_threshold) {
  // Mean width 5 gives a threshold of 1.5.
  const std::vector<std::tuple<const char*, std::vector<PageChar>, std::u32string>> cases = {
      {"gap above threshold splits", {glyph(U'a', 0, 0), glyph(U'b', 6.6f, 0)}, U"a b"},
      {"gap equal to threshold joins", {glyph(U'a', 0, 0), glyph(U'b', 6.5f, 0)}, U"ab"},
      {"overlap and NaN gaps join",
       {glyph(U'a', 0, 0), glyph(U'b', 3, 0), glyph(U'c', kNaN, 0)},
       U"abc"},
      // Mean width 8, threshold 2.4: 'C' starts 3.5 after 'B' although 'A' reaches past it.
      {"gap is measured from the previous character's edge",
       {glyph(U'A', 0, 0, 20), glyph(U'B', 2, 0, 2), glyph(U'C', 7.5f, 0, 2)},
       U"AB C"},
      // Zero widths give a threshold of 0.0003.
      {"zero-width characters split on gaps above 0.0003",
       {glyph(U'a', 0, 0, 0), glyph(U'b', 0.0002f, 0, 0), glyph(U'c', 0.001f, 0, 0)},
       U"ab c"},
      {"non-scalar values read as U+FFFD",
       {glyph(0xD800, 0, 0), glyph(0x110000, 5, 0)},
       U"\uFFFD\uFFFD"},
  };
  for (const auto& [name, chars, text] : cases) {
    TextLine line;
    for (std::size_t i = 0; i < chars.size(); ++i) line.char_indices.push_back(i);
    EXPECT_EQ(line_text(line, chars), text) << name;
  }
  EXPECT_THROW(line_text(TextLine{{3}, {}, 0}, std::vector<PageChar>(1)), std::out_of_range);
}

// Page analysis averages over every member, so invalid sizes pull the mean with them.
TEST(line_font_size, averages_every_member_valid_or_not) {
  const std::vector<PageChar> chars = {glyph(U'a', 0, 0, 5, 10, 12), glyph(U'b', 5, 0, 5, 10, -6),
                                       glyph(U'c', 10, 0, 5, 10, 12),
                                       glyph(U'd', 15, 0, 5, 10, kNaN)};
  EXPECT_EQ(line_font_size(TextLine{{0, 1, 2}, {}, 0}, chars), 6.0f);
  EXPECT_TRUE(std::isnan(line_font_size(TextLine{{0, 3}, {}, 0}, chars)));
  EXPECT_EQ(line_font_size(TextLine{}, chars), 0.0f);
}

}  // namespace
}  // namespace vorlin_geometry
