#include "vorlin_geometry/equations.h"

#include <algorithm>

#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {

namespace {

// The number stands this many type sizes clear of the formula.
constexpr float kNumberGapEms = 2.0f;

}  // namespace

bool is_equation_number(std::u32string_view word) {
  if (word.size() < 3 || word.front() != U'(' || word.back() != U')') return false;
  const std::u32string_view label = word.substr(1, word.size() - 2);
  std::size_t i = 0, digits = 0;
  while (i < label.size() && (detail::is_ascii_digit(label[i]) || label[i] == U'.')) {
    digits += detail::is_ascii_digit(label[i]) ? 1 : 0;
    ++i;
  }
  if (i < label.size() && detail::is_ascii_letter(label[i])) ++i;
  return digits > 0 && i == label.size() && detail::is_ascii_digit(label[0]) &&
         label[i - 1] != U'.';
}

bool ends_in_equation_number(const TextLine& line, std::span<const PageChar> chars,
                             std::u32string_view text) {
  std::size_t numbers = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = start;
    while (end < text.size() && !is_whitespace(text[end])) ++end;
    numbers += is_equation_number(text.substr(start, end - start)) ? 1 : 0;
    start = end + 1;
  }
  if (numbers != 1) return false;
  // The visible members from the right: the number's, then the formula's last.
  std::size_t end = line.char_indices.size();
  while (end > 0 && is_whitespace(char_at(chars, line.char_indices[end - 1]).ch)) --end;
  std::size_t start = end;
  while (start > 0 && char_at(chars, line.char_indices[start - 1]).ch != U'(') --start;
  if (start < 2) return false;  // no "(" or nothing before it
  --start;
  std::u32string number;
  for (std::size_t k = start; k < end; ++k) number.push_back(chars[line.char_indices[k]].ch);
  if (!is_equation_number(number)) return false;
  std::size_t before = start;
  while (before > 0 && is_whitespace(char_at(chars, line.char_indices[before - 1]).ch)) --before;
  if (before == 0) return false;
  const PageChar& open = chars[line.char_indices[start]];
  const PageChar& last = chars[line.char_indices[before - 1]];
  const float size = std::max(open.font_size, open.bbox.height());
  // Written so that an unknown position or size claims no number.
  return open.bbox.x0 - last.bbox.x1 >= kNumberGapEms * size;
}

}  // namespace vorlin_geometry
