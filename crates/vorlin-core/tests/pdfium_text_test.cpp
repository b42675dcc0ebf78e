#include "vorlin_core/backend/pdfium_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace vorlin_core {
namespace {

constexpr unsigned kGenerated = 1u << 31;  // marks an entry as generated in the tables
constexpr unsigned kUnmapped = 1u << 30;

// Entries 5 wide side by side, each with its own font size.
std::vector<TextPageEntry> entries_of(const std::vector<unsigned>& units) {
  std::vector<TextPageEntry> entries;
  for (const unsigned unit : units) {
    const float x = 5.0f * static_cast<float>(entries.size());
    entries.push_back({.unicode = unit & ~(kGenerated | kUnmapped),
                       .generated = (unit & kGenerated) != 0,
                       .unmapped = (unit & kUnmapped) != 0,
                       .x0 = x,
                       .x1 = x + 5,
                       .y1 = 10,
                       .font_size = 10 + x});
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
  std::u32string text;
  for (const PdfChar& ch : decode_text_page(entries_of(GetParam().units))) text += ch.ch;
  EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    table, decode_text_page_chars,
    testing::Values(
        DecodeCase{"generated_dropped", {'a', ' ' | kGenerated, '\r' | kGenerated, 'b'}, U"ab"},
        DecodeCase{"surrogate_pair_joined", {0xD835, 0xDC00, 'x'}, U"\U0001D400x"},
        DecodeCase{"high_at_end", {'a', 0xD835}, U"a\uFFFD"},
        DecodeCase{"two_highs", {0xD835, 0xD835, 0xDC00}, U"\uFFFD\U0001D400"},
        DecodeCase{"lone_low", {0xDC00, 'a'}, U"\uFFFDa"},
        DecodeCase{
            "generated_between_halves", {0xD835, '\n' | kGenerated, 0xDC00}, U"\uFFFD\uFFFD"},
        DecodeCase{"zero", {0}, U"\uFFFD"}, DecodeCase{"above_unicode", {0x110000}, U"\uFFFD"},
        DecodeCase{"unmapped_glyph", {'A' | kUnmapped, 'B'}, U"\uFFFDB"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(decode_text_page, pair_takes_box_and_size_of_first_half) {
  const auto chars = decode_text_page(entries_of({'a', 0xD835, 0xDC00}));
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(std::tuple(chars[1].x0, chars[1].x1, chars[1].font_size),
            std::tuple(5.0f, 10.0f, 15.0f));
}

}  // namespace
}  // namespace vorlin_core
