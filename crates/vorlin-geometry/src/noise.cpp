#include "vorlin_geometry/noise.h"

#include <algorithm>
#include <string>

namespace vorlin_geometry {

namespace {

constexpr float kTopBandStart = 2.0f / 3.0f;
constexpr float kMinLabelSize = 12.0f;
constexpr float kBottomBandEnd = 0.05f;

// The line's characters in order with whitespace left out.
std::u32string line_text_compact(const TextLine& line, std::span<const PageChar> chars) {
  std::u32string text;
  for (std::size_t p : line.char_indices) {
    const char32_t ch = char_at(chars, p).ch;
    if (!is_whitespace(ch)) text.push_back(ch);
  }
  return text;
}

bool is_label_char(char32_t ch) {
  return detail::is_ascii_digit(ch) || ch == U'.' || ch == U'v' || ch == U'V';
}

}  // namespace

bool is_top_numeric_label(const TextLine& line, std::span<const PageChar> chars, const BBox& page) {
  if (page.y1 - page.y0 <= 0.0f) return false;
  // Written as "below the band" so that a NaN position does not stop the test.
  if (relative_height(line.mean_y0, page) < kTopBandStart) return false;
  const std::u32string text = line_text_compact(line, chars);
  if (text.empty() || !std::ranges::all_of(text, is_label_char)) return false;

  std::vector<float> sizes;
  for (std::size_t p : line.char_indices) {
    const float size = chars[p].font_size;
    if (is_valid_size(size)) sizes.push_back(size);
  }
  const std::optional<float> median = upper_median(sizes);
  return median.has_value() && *median >= kMinLabelSize;
}

bool is_lone_symbol(const TextLine& line, std::span<const PageChar> chars) {
  // Every line is asked, so the count stops at a second visible character.
  std::size_t visible = 0;
  char32_t only = 0;
  for (std::size_t p : line.char_indices) {
    const char32_t ch = char_at(chars, p).ch;
    if (is_whitespace(ch)) continue;
    if (++visible > 1) return false;
    only = ch;
  }
  return visible == 1 && !is_alphanumeric(only);
}

bool is_bottom_page_number(const TextLine& line, std::span<const PageChar> chars,
                           const BBox& page) {
  if (page.y1 - page.y0 <= 0.0f) return false;
  if (relative_height(line.mean_y0, page) > kBottomBandEnd) return false;
  const std::u32string text = line_text_compact(line, chars);
  return !text.empty() && std::ranges::all_of(text, detail::is_ascii_digit);
}

bool is_noise(const TextLine& line, std::span<const PageChar> chars, const BBox& page) {
  return is_top_numeric_label(line, chars, page) || is_lone_symbol(line, chars) ||
         is_bottom_page_number(line, chars, page);
}

std::vector<TextLine> filter_noise(std::span<const TextLine> lines, std::span<const PageChar> chars,
                                   const BBox& page) {
  std::vector<TextLine> kept;
  kept.reserve(lines.size());
  for (const TextLine& line : lines) {
    if (!is_noise(line, chars, page)) kept.push_back(line);
  }
  return kept;
}

}  // namespace vorlin_geometry
