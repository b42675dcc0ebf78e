#pragma once
// Lines from positioned characters and words from a line, by boxes and font sizes alone. Results
// hold positions into the page character list, which is never moved or changed.

#include <span>
#include <string>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// Text lines in top-to-bottom order, each member listed left to right; every character lands in
// exactly one line. A character joins the most recently opened line when its y0 lies within
// 0.4 x the page's median valid font size (1.0 if none) of that line's running mean y0.
std::vector<TextLine> group_lines(std::span<const PageChar> chars);

// Words of `line` left to right, split where the gap to the previous character exceeds
// 0.3 x max(mean character width, 0.001). Reads only `line.char_indices`.
std::vector<Word> split_words(const TextLine& line, std::span<const PageChar> chars);

// A word over `positions` with its text built from `chars`; `bbox` is stored as given.
Word make_word(std::span<const std::size_t> positions, const BBox& bbox,
               std::span<const PageChar> chars);

// The words' texts joined by single U+0020, nothing added at either end.
std::string line_text(std::span<const Word> words);

}  // namespace vorlin_geometry
