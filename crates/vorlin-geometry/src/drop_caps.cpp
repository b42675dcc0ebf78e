#include "vorlin_geometry/drop_caps.h"

#include <algorithm>
#include <optional>

namespace vorlin_geometry {

namespace {

// How many times the size of the text beside it a drop cap is set, at least.
constexpr float kDropCapFactor = 2.5f;
// How far to its right, in sizes of that text, the lines it heads begin.
constexpr float kReachInSizes = 2.0f;

bool beside(const PageChar& cap, const PageChar& c) {
  const float y = c.bbox.centre_y();
  // Written so that NaN anywhere rejects the character.
  return is_valid_size(c.font_size) && c.font_size * kDropCapFactor <= cap.font_size &&
         c.bbox.x0 >= cap.bbox.centre_x() && c.bbox.x0 <= cap.bbox.x1 + kReachInSizes * c.font_size &&
         y >= cap.bbox.y0 && y <= cap.bbox.y1 && !is_whitespace(c.ch);
}

// The top character of the lines the letter `cap` heads, if it heads two or more.
std::optional<std::size_t> first_line_beside(std::span<const PageChar> chars,
                                             const PageChar& cap) {
  std::optional<std::size_t> top, bottom;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    if (!beside(cap, chars[i])) continue;
    const float y = chars[i].bbox.centre_y();
    if (!top || y > chars[*top].bbox.centre_y()) top = i;
    if (!bottom || y < chars[*bottom].bbox.centre_y()) bottom = i;
  }
  if (!top) return std::nullopt;
  // Two lines: the lowest character lies wholly below the top one's centre.
  const bool two_lines = chars[*bottom].bbox.y1 < chars[*top].bbox.centre_y();
  return two_lines ? top : std::nullopt;
}

}  // namespace

std::vector<PageChar> seat_drop_caps(std::vector<PageChar> chars) {
  float smallest = 0, largest = 0;
  for (const PageChar& c : chars) {
    if (!is_valid_size(c.font_size)) continue;
    if (smallest == 0 || c.font_size < smallest) smallest = c.font_size;
    largest = std::max(largest, c.font_size);
  }
  if (smallest == 0 || largest < kDropCapFactor * smallest) return chars;
  for (PageChar& cap : chars) {
    if (!(cap.font_size >= kDropCapFactor * smallest) || !is_alphabetic(cap.ch)) continue;
    if (const std::optional<std::size_t> top = first_line_beside(chars, cap)) {
      const PageChar& line = chars[*top];
      cap.bbox.y0 = line.bbox.y0;
      cap.bbox.y1 = line.bbox.y1;
      cap.font_size = line.font_size;
    }
  }
  return chars;
}

}  // namespace vorlin_geometry
