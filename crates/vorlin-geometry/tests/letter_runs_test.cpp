#include "vorlin_geometry/letter_runs.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

// A line of separately placed tokens: each (text, x) set at y 0 in 10-point type.
std::u32string mended(const std::vector<std::pair<std::u32string, float>>& tokens) {
  std::vector<PageChar> chars;
  TextLine line{{}, {}, 0};
  for (const auto& [text, x] : tokens) {
    const TextLine part = testing::set_at(chars, text, x, 0);
    line.char_indices.insert(line.char_indices.end(), part.char_indices.begin(),
                             part.char_indices.end());
  }
  return mended_line_text(line, chars);
}

TEST(join_spaced_ideographs, drops_spaces_between_ideographs_only) {
  EXPECT_EQ(join_spaced_ideographs(U"\u6458 \u8981 x \u81F4 \u8C22"),
            U"\u6458\u8981 x \u81F4\u8C22");
}

TEST(mended_line_text, joins_only_runs_of_three_single_letters) {
  // Letters are 5 wide; a gap of 4 is letter spacing, 12 separates words.
  using Case =
      std::tuple<const char*, std::vector<std::pair<std::u32string, float>>, std::u32string>;
  const std::vector<Case> cases = {
      {"numbered heading keeps its spaces",
       {{U"1", 0}, {U"Input", 10}, {U"System", 45}},
       U"1 Input System"},
      {"symbols break a run",
       {{U"x", 0}, {U"=", 10}, {U"a", 20}, {U"+", 30}, {U"b", 40}},
       U"x = a + b"},
      {"spaced title joins", {{U"T", 0}, {U"I", 9}, {U"T", 18}, {U"L", 27}, {U"E", 36}}, U"TITLE"},
      {"a gap over 1.6 letter gaps is a word break",  // 7 > 1.6 x 4
       {{U"T", 0}, {U"H", 9}, {U"E", 18}, {U"E", 30}, {U"N", 39}, {U"D", 48}},
       U"THE END"},
      {"run inside ordinary words",
       {{U"see", 0}, {U"A", 25}, {U"B", 34}, {U"C", 43}, {U"now", 60}},
       U"see ABC now"},
      {"two single letters are no run", {{U"a", 0}, {U"b", 9}, {U"cat", 20}}, U"a b cat"},
      // The spaces overlap D, so only their count tells the break from letter spacing.
      {"double spaces break words inside a run",
       {{U"A", 0}, {U"B", 9}, {U"C", 18}, {U"  ", 23}, {U"D", 27}, {U"E", 36}},
       U"ABC DE"},
  };
  for (const auto& [name, tokens, text] : cases) EXPECT_EQ(mended(tokens), text) << name;
}

TEST(mended_line_text, breaks_for_the_backend_and_after_a_note_mark) {
  struct Case {
    float x, y, size;  // the "e"'s left edge; the "1"'s bottom and size (5 wide at size 10)
    bool backend_break;  // before the "e"
    std::u32string text;
  };
  for (const Case& c : std::vector<Case>{{3, 0, 10, true, U"1e"},   // kerned back: no break
                                         {5, 0, 10, true, U"1 e"},  // touching: the backend's
                                         {3, 3, 6, false, U"1 e"},  // a small raised mark
                                         {3, 1, 6, false, U"1e"}}) {
    std::vector<PageChar> chars = {testing::glyph(U'1', 0, c.y, c.size / 2, c.size, c.size),
                                   testing::glyph(U'e', c.x, 0)};
    chars[1].space_before = c.backend_break;
    EXPECT_EQ(mended_line_text(TextLine{{0, 1}, {}, 0}, chars), c.text) << c.x << " " << c.y;
  }
}

TEST(repair_letter_spacing, rejoins_text_of_mostly_single_characters) {
  const std::vector<std::pair<std::u32string, std::u32string>> cases = {
      {U"T I T L E  O N E", U"TITLE ONE"},
      {U"A cat sat on the mat", U"A cat sat on the mat"},
      {U"I have a cat", U"Ihaveacat"},
      {U"a\tb c", U"a\tbc"},  // only U+0020 breaks words
      {U" \t\u00A0 ", U" \t\u00A0 "},
      // Exactly 30 % single characters is not more than 30 %.
      {U"a bc de fg hi jk lm no b c", U"a bc de fg hi jk lm no b c"},
      {U"a bc de fg hi jk lm b c", U"abcdefghijklmbc"},
  };
  for (const auto& [text, repaired] : cases) EXPECT_EQ(repair_letter_spacing(text), repaired);
}

}  // namespace
}  // namespace vorlin_geometry
