#include "vorlin_geometry/captions.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace vorlin_geometry {

namespace {

// Vertical distance between two boxes' facing edges; 0 when they overlap vertically.
float vertical_distance(const BBox& a, const BBox& b) {
  if (a.y0 >= b.y1) return a.y0 - b.y1;
  if (b.y0 >= a.y1) return b.y0 - a.y1;
  return (a.y0 <= b.y1 && b.y0 <= a.y1) ? 0.0f : std::numeric_limits<float>::quiet_NaN();
}

bool overlap_horizontally(const BBox& a, const BBox& b) { return a.x0 < b.x1 && b.x0 < a.x1; }

}  // namespace

bool is_caption_text(std::string_view text) {
  static constexpr std::string_view kLabels[] = {"Figure", "Fig.", "Table",
                                                 "FIGURE", "FIG.", "TABLE"};
  const auto is_digit = [](char ch) { return ch >= '0' && ch <= '9'; };
  for (std::string_view label : kLabels) {
    if (!text.starts_with(label)) continue;
    std::string_view rest = text.substr(label.size());
    if (rest.starts_with(' ')) rest.remove_prefix(1);
    std::size_t digits = 0;
    while (digits < rest.size() && is_digit(rest[digits])) ++digits;
    if (digits == 0) return false;
    rest.remove_prefix(digits);
    if (!rest.empty() && std::isalpha(static_cast<unsigned char>(rest.front()))) {
      rest.remove_prefix(1);  // a sub-figure letter: "Figure 2b"
    }
    return rest.empty() || rest.front() == ':' || rest.front() == '.' ||
           std::isspace(static_cast<unsigned char>(rest.front()));
  }
  return false;
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
