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

TEST(decode_text_page, drops_generated_entries_marks_breaks_and_replaces_non_characters) {
  const std::vector<std::pair<std::vector<unsigned>, std::u32string>> cases = {
      {{'a', ' ' | kGenerated, '\r' | kGenerated, 'b'}, U"ab"},
      {{0xD835, 0xDC00, 'x'}, U"\U0001D400x"},
      {{'a', 0xD835}, U"a\uFFFD"},                          // high half at the end
      {{0xD835, 0xD835, 0xDC00}, U"\uFFFD\U0001D400"},       // two highs
      {{0xDC00, 'a'}, U"\uFFFDa"},                          // lone low half
      {{0xD835, '\n' | kGenerated, 0xDC00}, U"\uFFFD\uFFFD"},  // a break between the halves
      {{0}, U"\uFFFD"},
      {{0x110000}, U"\uFFFD"},
      {{'A' | kUnmapped, 'B'}, U"\uFFFDB"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    std::u32string text;
    for (const PdfChar& ch : decode_text_page(entries_of(cases[i].first))) text += ch.ch;
    EXPECT_EQ(text, cases[i].second) << "case " << i;
  }
  // Spaces before and hyphens after, written as "_" and "-" beside each character.
  const auto chars = decode_text_page(entries_of(
      {' ' | kGenerated, 'a', ' ' | kGenerated, '\n' | kGenerated, 'b', 2 | kHyphen, 'c'}));
  std::string marks;
  for (const PdfChar& ch : chars) {
    marks += std::string(ch.space_before ? "_" : "") + (ch.line_end_hyphen ? "h" : "c") +
             (ch.hyphen_after ? "-" : "");
  }
  EXPECT_EQ(marks, "c_c-hc");
  // A surrogate pair takes the box and size of its first half.
  const auto pair = decode_text_page(entries_of({'a', 0xD835, 0xDC00}));
  ASSERT_EQ(pair.size(), 2u);
  EXPECT_EQ(std::tuple(pair[1].x0, pair[1].x1, pair[1].font_size), std::tuple(5.0f, 10.0f, 15.0f));
}

}  // namespace
}  // namespace vorlin_core
