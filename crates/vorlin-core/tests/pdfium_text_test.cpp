#include "vorlin_core/backend/pdfium_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace vorlin_core {
namespace {

constexpr unsigned kGenerated = 1u << 31;  // marks an entry as generated in the tables
constexpr unsigned kUnmapped = 1u << 30;
constexpr unsigned kHyphen = 1u << 29;

// Entries 5 wide side by side, each with its own font size.
std::vector<TextPageEntry> entries_of(const std::vector<unsigned>& units) {
  std::vector<TextPageEntry> entries;
  for (const unsigned unit : units) {
    const float x = 5.0f * static_cast<float>(entries.size());
    entries.push_back({.unicode = unit & ~(kGenerated | kUnmapped | kHyphen),
                       .generated = (unit & kGenerated) != 0,
                       .unmapped = (unit & kUnmapped) != 0,
                       .hyphen = (unit & kHyphen) != 0,
                       .look = {.x0 = x, .x1 = x + 5, .y1 = 10, .font_size = 10 + x}});
  }
  return entries;
}

struct DecodeCase {
  const char* name;
  std::vector<unsigned> units;
  std::u32string expected;
};

class decode_text_page_chars : public testing::TestWithParam<DecodeCase> {};

TEST_P(decode_text_page_chars, match) {
  const auto entries = entries_of(GetParam().units);
  std::u32string text;
  for (const PdfChar& ch : decode_text_page(entries)) text += ch.ch;
  EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    table, decode_text_page_chars,
    testing::Values(
        DecodeCase{"plain", {'a', 'b'}, U"ab"},
        DecodeCase{"generated_dropped", {'a', ' ' | kGenerated, '\r' | kGenerated, 'b'}, U"ab"},
        DecodeCase{"surrogate_pair_joined", {0xD835, 0xDC00, 'x'}, U"\U0001D400x"},
        DecodeCase{"high_at_end", {'a', 0xD835}, U"a\uFFFD"},
        DecodeCase{"high_before_letter", {0xD835, 'a'}, U"\uFFFDa"},
        DecodeCase{"two_highs", {0xD835, 0xD835, 0xDC00}, U"\uFFFD\U0001D400"},
        DecodeCase{"lone_low", {0xDC00, 'a'}, U"\uFFFDa"},
        DecodeCase{
            "generated_between_halves", {0xD835, '\n' | kGenerated, 0xDC00}, U"\uFFFD\uFFFD"},
        DecodeCase{"zero", {0}, U"\uFFFD"}, DecodeCase{"above_unicode", {0x110000}, U"\uFFFD"},
        DecodeCase{"unmapped_glyph", {'A' | kUnmapped, 'B'}, U"\uFFFDB"}),
    [](const auto& info) { return std::string(info.param.name); });

// Spaces before and hyphens after, written as "_" and "-" beside each character.
TEST(decode_text_page, generated_entries_and_hyphens_become_marks_on_their_neighbours) {
  const auto chars = decode_text_page(entries_of(
      {' ' | kGenerated, 'a', ' ' | kGenerated, '\n' | kGenerated, 'b', 2 | kHyphen, 'c'}));
  std::string marks;
  for (const PdfChar& ch : chars) {
    marks += std::string(ch.space_before ? "_" : "") + (ch.line_end_hyphen ? "h" : "c") +
             (ch.hyphen_after ? "-" : "");
  }
  EXPECT_EQ(marks, "c_c-hc");
}

TEST(decode_text_page, pair_takes_box_and_size_of_first_half) {
  const auto chars = decode_text_page(entries_of({'a', 0xD835, 0xDC00}));
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(std::tuple(chars[1].x0, chars[1].x1, chars[1].font_size),
            std::tuple(5.0f, 10.0f, 15.0f));
}

}  // namespace
}  // namespace vorlin_core
