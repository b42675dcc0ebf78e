#pragma once
// Builders for hand-made pages in the geometry tests.

#include <cmath>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry::testing {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

inline PageChar glyph(char32_t ch, float x0, float y0, float width = 5.0f, float height = 10.0f,
                      float size = 10.0f) {
  return PageChar{ch, BBox{x0, y0, x0 + width, y0 + height}, size};
}

// `text` set left to right from x = 0 in cells of `width`, every character (spaces included) at
// baseline `y0`, appended to `chars`; returns the line over the new characters.
inline TextLine set_line(std::vector<PageChar>& chars, std::u32string_view text, float y0,
                         float size = 10.0f, float width = 5.0f) {
  TextLine line{{}, BBox{0, y0, width * static_cast<float>(text.size()), y0 + size}, y0};
  for (std::size_t i = 0; i < text.size(); ++i) {
    line.char_indices.push_back(chars.size());
    chars.push_back(glyph(text[i], width * static_cast<float>(i), y0, width, size, size));
  }
  return line;
}

}  // namespace vorlin_geometry::testing
