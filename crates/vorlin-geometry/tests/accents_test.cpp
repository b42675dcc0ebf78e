#include "vorlin_geometry/accents.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

using testing::glyph;

std::u32string text_of(const std::vector<PageChar>& chars) {
  std::u32string text;
  for (const PageChar& c : chars) text += c.ch;
  return text;
}

// Letters 5 wide from x = 0, with `accent` (3 wide, its left edge at accent_x) written just
// before letter `before`.
std::u32string folded(std::u32string_view letters, std::size_t before, char32_t accent,
                      float accent_x) {
  std::vector<PageChar> chars;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    if (i == before) chars.push_back(glyph(accent, accent_x, 8, 3, 3));
    chars.push_back(glyph(letters[i], 5.0f * static_cast<float>(i), 0));
  }
  return text_of(fold_accents(chars));
}

TEST(fold_accents, joins_an_accent_with_the_letter_under_it_either_side) {
  // The accent over the second letter (x 5..10), written before it or after the first letter.
  EXPECT_EQ(folded(U"no", 1, 0x00B4, 6), U"nó");
  EXPECT_EQ(folded(U"no", 1, 0x02DC, 1), U"ño");
  EXPECT_EQ(folded(U"n\u0131", 1, 0x00B4, 6), U"ní");  // the dotless i TeX accents
  EXPECT_EQ(folded(U"ONE", 2, 0x00B4, 1), U"ÓNE");     // a capital's, after the next letter
  // Over no letter, or no such precomposed letter: left as it was.
  EXPECT_EQ(folded(U"no", 1, 0x00B4, 30), U"n\u00B4o");
  EXPECT_EQ(folded(U"nq", 1, 0x02DC, 6), U"n\u02DCq");
  EXPECT_EQ(folded(U"n1", 1, 0x00B4, 6), U"n\u00B41");
}

TEST(fold_accents, an_accent_drawn_after_the_line_finds_its_letter_by_position) {
  std::vector<PageChar> chars = {glyph(U'U', 0, 0), glyph(U'n', 5, 0), glyph(U'u', 10, 0),
                                 glyph(0x00B4, 1, 8, 3, 3)};
  EXPECT_EQ(text_of(fold_accents(chars)), U"Únu");
  chars[3].bbox = BBox{1, 20, 4, 23};  // over the line, over no letter
  EXPECT_EQ(text_of(fold_accents(chars)), U"Unu´");
}

}  // namespace
}  // namespace vorlin_geometry
