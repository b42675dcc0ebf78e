#pragma once
// Builders for hand-made pages in the geometry tests.

#include <limits>
#include <span>
#include <string>
#include <vector>

#include "vorlin_geometry/primitives.h"
#include "vorlin_geometry/utf8.h"
#include "vorlin_geometry/word_line.h"

namespace vorlin_geometry::testing {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

inline PageChar glyph(char32_t ch, float x0, float y0, float width = 5.0f, float height = 10.0f,
                      float size = 10.0f) {
  return PageChar{ch, BBox{x0, y0, x0 + width, y0 + height}, size};
}

// Sets `text` from (x, y) in a fixed-pitch font (advance half the size, box as tall as the size),
// appended to `chars`; returns the line over the new characters.
inline TextLine set_at(std::vector<PageChar>& chars, std::u32string_view text, float x, float y,
                       float size = 10.0f) {
  TextLine line{{}, BBox{x, y, x, y + size}, y};
  for (char32_t ch : text) {
    line.char_indices.push_back(chars.size());
    chars.push_back(glyph(ch, line.bbox.x1, y, size * 0.5f, size, size));
    line.bbox.x1 += size * 0.5f;
  }
  return line;
}

// The texts of lines, words joined by single spaces.
inline std::vector<std::string> texts_of(std::span<const TextLine> lines,
                                         std::span<const PageChar> chars) {
  std::vector<std::string> texts;
  for (const TextLine& line : lines) texts.push_back(encode_utf8(line_text(line, chars)));
  return texts;
}

}  // namespace vorlin_geometry::testing
