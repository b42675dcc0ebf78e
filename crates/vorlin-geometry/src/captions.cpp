#include "vorlin_geometry/captions.h"

#include <algorithm>
#include <limits>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

namespace {

constexpr float kCaptionReachInLines = 3.0f;
constexpr float kDefaultLineHeight = 10.0f;

// Vertical distance between two boxes' facing edges; 0 when they overlap vertically.
float vertical_distance(const BBox& a, const BBox& b) {
  if (a.y0 >= b.y1) return a.y0 - b.y1;
  if (b.y0 >= a.y1) return b.y0 - a.y1;
  return (a.y0 <= b.y1 && b.y0 <= a.y1) ? 0.0f : std::numeric_limits<float>::quiet_NaN();
}

bool overlap_horizontally(const BBox& a, const BBox& b) { return a.x0 < b.x1 && b.x0 < a.x1; }

}  // namespace

bool is_caption_text(std::u32string_view text) {
  static constexpr std::u32string_view kLabels[] = {U"Figure", U"Fig.", U"Table",
                                                    U"FIGURE", U"FIG.", U"TABLE"};
  for (std::u32string_view label : kLabels) {
    if (!text.starts_with(label)) continue;
    std::u32string_view rest = text.substr(label.size());
    if (rest.starts_with(U' ')) rest.remove_prefix(1);
    std::size_t digits = 0;
    while (digits < rest.size() && detail::is_ascii_digit(rest[digits])) ++digits;
    if (digits == 0) return false;
    rest.remove_prefix(digits);
    if (!rest.empty() && detail::is_ascii_letter(rest.front())) {
      rest.remove_prefix(1);  // a sub-figure letter: "Figure 2b"
    }
    return rest.empty() || rest.front() == U':' || rest.front() == U'.' ||
           is_whitespace(rest.front());
  }
  return false;
}

float caption_reach(std::span<const float> line_heights) {
  std::vector<float> valid;
  for (float height : line_heights) {
    if (is_valid_size(height)) valid.push_back(height);
  }
  return kCaptionReachInLines * upper_median(valid).value_or(kDefaultLineHeight);
}

std::vector<std::optional<std::size_t>> match_captions(std::span<const BBox> figures,
                                                       std::span<const BBox> captions,
                                                       float reach) {
  std::vector<std::optional<std::size_t>> matches(figures.size());
  for (std::size_t f = 0; f < figures.size(); ++f) {
    float best = 0;
    for (std::size_t c = 0; c < captions.size(); ++c) {
      if (!overlap_horizontally(figures[f], captions[c])) continue;
      const float distance = vertical_distance(figures[f], captions[c]);
      if (!(distance <= reach)) continue;
      if (!matches[f] || distance < best) {
        matches[f] = c;
        best = distance;
      }
    }
  }
  return matches;
}

}  // namespace vorlin_geometry
