#include "vorlin_geometry/ligatures.h"

#include <array>

namespace vorlin_geometry {

namespace {

constexpr char32_t kFirstLigature = 0xFB00;
constexpr std::array<std::u32string_view, 7> kLigatureLetters = {
    U"ff", U"fi", U"fl", U"ffi", U"ffl", U"st", U"st",  // U+FB05 is the long-s form of "st"
};

}  // namespace

std::u32string_view ligature_letters(char32_t ch) {
  if (ch < kFirstLigature || ch >= kFirstLigature + kLigatureLetters.size()) return {};
  return kLigatureLetters[ch - kFirstLigature];
}

std::vector<PageChar> expand_ligatures(std::span<const PageChar> chars) {
  std::vector<PageChar> out;
  out.reserve(chars.size());
  for (const PageChar& c : chars) {
    const std::u32string_view letters = ligature_letters(c.ch);
    if (letters.empty()) {
      out.push_back(c);
      continue;
    }
    const float slice = c.bbox.width() / static_cast<float>(letters.size());
    for (std::size_t i = 0; i < letters.size(); ++i) {
      PageChar letter = c;
      letter.ch = letters[i];
      letter.bbox.x0 = c.bbox.x0 + slice * static_cast<float>(i);
      // The last slice ends exactly on the glyph's edge, whatever the rounding of the others.
      letter.bbox.x1 = i + 1 == letters.size() ? c.bbox.x1 : letter.bbox.x0 + slice;
      out.push_back(letter);
    }
  }
  return out;
}

}  // namespace vorlin_geometry
