#include "vorlin_geometry/hyphenation.h"

#include "vorlin_geometry/primitives.h"
#include "vorlin_geometry/unicode.h"

namespace vorlin_geometry {

namespace {

constexpr char32_t kHyphenMinus = U'-';
constexpr char32_t kHyphen = 0x2010;
constexpr char32_t kSoftHyphen = 0x00AD;

enum class Join { Space, Direct, DropLastAndJoin };

Join join_after(std::u32string_view previous, std::u32string_view next) {
  if (previous.empty() || next.empty()) return Join::Space;
  const char32_t last = previous.back();
  if (last == kSoftHyphen) return Join::DropLastAndJoin;
  if (last != kHyphenMinus && last != kHyphen) return Join::Space;
  if (previous.size() < 2 || !is_alphabetic(previous[previous.size() - 2])) return Join::Space;
  using enum unicode::Category;
  const auto first = unicode::category(next.front());
  if (first == Ll) return Join::DropLastAndJoin;
  if (first == Lu || first == Nd) return Join::Direct;
  return Join::Space;
}

std::u32string_view trim_spaces(std::u32string_view text) {
  while (!text.empty() && text.front() == U' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == U' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::u32string join_block_lines(std::span<const std::u32string_view> lines) {
  std::u32string text;
  for (const std::u32string_view raw : lines) {
    const std::u32string_view line = trim_spaces(raw);
    if (line.empty()) continue;
    switch (join_after(text, line)) {
      case Join::Space:
        if (!text.empty()) text.push_back(U' ');
        break;
      case Join::Direct:
        break;
      case Join::DropLastAndJoin:
        text.pop_back();
        break;
    }
    text += line;
  }
  return text;
}

}  // namespace vorlin_geometry
