#include "vorlin_geometry/unicode.h"

#include <algorithm>
#include <span>
#include <tuple>

#include "unicode_tables.h"

namespace vorlin_geometry::unicode {
namespace {

std::uint8_t properties(char32_t ch) {
  using namespace tables;
  if (ch >= kCodePointCount) return 0;
  return kBlockBytes[std::size_t{kBlockIndex[ch >> kBlockBits]} << kBlockBits | (ch & kBlockMask)];
}

}  // namespace

Category category(char32_t ch) {
  return static_cast<Category>(properties(ch) & tables::kCategoryMask);
}

bool is_white_space(char32_t ch) { return properties(ch) & tables::kWhiteSpace; }
bool is_alphabetic(char32_t ch) { return properties(ch) & tables::kAlphabetic; }
bool is_grapheme_extend(char32_t ch) { return properties(ch) & tables::kGraphemeExtend; }

char32_t compose_pair(char32_t first, char32_t second) {
  const std::span pairs(tables::kCompositions, tables::kCompositionCount);
  const auto key = [](const tables::Composition& c) { return std::tuple(c.first, c.second); };
  const auto found = std::ranges::lower_bound(pairs, std::tuple(first, second), {}, key);
  return found != pairs.end() && key(*found) == std::tuple(first, second) ? found->composite : 0;
}

}  // namespace vorlin_geometry::unicode
