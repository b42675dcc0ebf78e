#pragma once
// Builders for synthetic pages in the tests of the column, furniture and block passes.

#include <span>
#include <string>
#include <vector>

#include "vorlin_geometry/primitives.h"
#include "vorlin_geometry/word_line.h"

namespace vorlin_geometry::testing {

// Sets `text` from (x, y) in a fixed-pitch font (advance half the size, box as tall as the size)
// and returns the line over the new characters.
inline TextLine set_at(std::vector<PageChar>& chars, std::u32string_view text, float x, float y,
                       float size = 10.0f) {
  TextLine line{{}, BBox{x, y, x, y + size}, y};
  const float advance = size * 0.5f;
  for (char32_t ch : text) {
    line.char_indices.push_back(chars.size());
    chars.push_back(PageChar{ch, BBox{x, y, x + advance, y + size}, size});
    line.bbox.x1 = x + advance;
    x += advance;
  }
  return line;
}

// The texts of lines, words joined by single spaces.
inline std::vector<std::string> texts_of(std::span<const TextLine> lines,
                                         std::span<const PageChar> chars) {
  std::vector<std::string> texts;
  for (const TextLine& line : lines) texts.push_back(line_text(split_words(line, chars)));
  return texts;
}

}  // namespace vorlin_geometry::testing
