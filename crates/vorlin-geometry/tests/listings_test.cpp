#include "vorlin_geometry/listings.h"

#include <gtest/gtest.h>

#include "fixtures.h"
#include "vorlin_geometry/fixed_pitch.h"

namespace vorlin_geometry {
namespace {

using testing::kNaN;

// TeX draws no space glyphs: the gaps between fixed-pitch glyphs are the spaces.
TEST(fixed_pitch_text, spaces_come_from_columns_and_word_breaks) {
  std::vector<PageChar> chars;
  TextLine line = testing::set_at(chars, U"x  = 1", 100, 700);
  std::erase_if(line.char_indices, [&](std::size_t p) { return chars[p].ch == U' '; });
  for (PageChar& c : chars) c.monospace = true;
  const float pitch = fixed_pitch(line, chars);
  EXPECT_EQ(pitch, 5.0f);
  EXPECT_EQ(fixed_pitch_text(line, chars, pitch), U"x  = 1");
  EXPECT_EQ(fixed_pitch_text(line, chars, kNaN), U"x = 1");
  EXPECT_LT(fixed_pitch_text(line, chars, 1e-20f).size(), 1010u);  // padding is bounded
  chars[line.char_indices[0]].monospace = false;                   // prose with a code word in it
  EXPECT_EQ(fixed_pitch(line, chars), 0.0f);
  // A line number in a narrow face rounds to fewer columns than it spans; the break stays.
  chars = {testing::glyph(U'9', 100, 700, 2), testing::glyph(U'x', 107, 700)};
  chars[1].monospace = true;
  EXPECT_EQ(fixed_pitch_text(TextLine{{0, 1}, BBox{100, 700, 112, 710}, 700}, chars, 5), U"9 x");
}

ListingLine at(std::u32string_view text, float x, float top, float pitch = 5) {
  return ListingLine{text, BBox{x, top - 10, x + 100, top}, pitch};
}

TEST(listings, lines_indentation_and_blank_lines_are_kept) {
  const std::vector<ListingLine> column = {
      at(U"Some prose.", 50, 760, 0), at(U"lone()", 50, 740),  // a fixed-pitch line alone is no
                                                               // listing
      at(U"prose again", 50, 720, 0), at(U"def f(x):", 50, 700), at(U"if x:", 60, 688),
      at(U"return 1", 70, 676),       at(U"return 0", 60, 652),  // one line step left empty above
      at(U"far()", 50, 600),  // too far below to be the same listing
      at(U"away()", 50, 588),
  };
  EXPECT_EQ(listing_lines(column),
            (std::vector<bool>{false, false, false, true, true, true, true, true, true}));
  EXPECT_EQ(listing_text(std::span(column).subspan(3, 4)),
            U"def f(x):\n  if x:\n    return 1\n\n  return 0");
  EXPECT_FALSE(continues_listing(column[6], column[7]));
}

// A listing cut by the page may end a column, but a URL wrapped from a full line of prose is prose.
TEST(listings, a_fixed_pitch_line_ending_the_column_after_a_full_prose_line_is_no_listing) {
  std::vector<ListingLine> column = {at(U"prose out to the edge", 50, 700, 0),
                                     at(U"//host/path.", 60, 688)};
  EXPECT_EQ(listing_lines(column), (std::vector<bool>{false, false}));
  column[0].bbox.x1 = 80;  // a short line introduces the listing
  EXPECT_EQ(listing_lines(column), (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace vorlin_geometry
