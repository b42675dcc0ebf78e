#include "vorlin_geometry/ligatures.h"

#include <gtest/gtest.h>

namespace vorlin_geometry {
namespace {

TEST(ligature_letters, covers_the_latin_ligature_block) {
  const std::vector<std::pair<char32_t, std::u32string>> cases = {
      {0xFB00, U"ff"}, {0xFB01, U"fi"}, {0xFB02, U"fl"}, {0xFB03, U"ffi"}, {0xFB04, U"ffl"},
      {0xFB05, U"st"}, {0xFB06, U"st"}, {0xFB07, U""},   {0xFAFF, U""},    {U'f', U""},
  };
  for (const auto& [ch, letters] : cases) EXPECT_EQ(ligature_letters(ch), letters) << int(ch);
}

TEST(expand_ligatures, slices_the_glyph_box_between_its_letters) {
  const std::vector<PageChar> chars = {
      {U'a', {0, 0, 5, 10}, 10}, {0xFB03, {5, 0, 14, 10}, 10}, {U'x', {14, 0, 19, 10}, 10}};
  const std::vector<PageChar> out = expand_ligatures(chars);
  ASSERT_EQ(out.size(), 5u);
  const std::u32string letters = {out[0].ch, out[1].ch, out[2].ch, out[3].ch, out[4].ch};
  EXPECT_EQ(letters, U"affix");
  EXPECT_FLOAT_EQ(out[1].bbox.x0, 5);
  EXPECT_FLOAT_EQ(out[2].bbox.x0, 8);
  EXPECT_FLOAT_EQ(out[3].bbox.x1, 14);  // the last slice ends on the glyph's edge
  EXPECT_EQ(out[2].font_size, 10);
  EXPECT_EQ(out[2].bbox.y1, 10);
}

}  // namespace
}  // namespace vorlin_geometry
