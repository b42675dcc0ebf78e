#pragma once
// Lines from positioned characters and the words of a line, by boxes and font sizes alone. Results
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

// Where a line breaks into words, asked of its members left to right: a character starts a new
// word when its gap to the previous character exceeds 0.3 x max(mean character width, 0.001).
// An equal gap, an overlap (negative gap) and an unknown (NaN) gap all stay in the word. Gaps are
// measured from the previous character, not from the word's widest right edge.
class WordBreaks {
 public:
  // Reads every member of `line`; a position outside `chars` throws std::out_of_range.
  WordBreaks(const TextLine& line, std::span<const PageChar> chars);
  // Whether `c`, the next member, starts a word; the first member never does.
  bool starts_word(const PageChar& c);

 private:
  float threshold_;
  float previous_right_ = 0;
  bool first_ = true;
};

// Adds `guest`'s characters to `host`, kept left to right, with the box and mean y0 of the whole:
// a mark or letter set apart from its line joins it.
void absorb_line(TextLine& host, const TextLine& guest, std::span<const PageChar> chars);

// The line's characters with one U+0020 added at each word break, values that are not Unicode
// scalar values read as U+FFFD.
std::u32string line_text(const TextLine& line, std::span<const PageChar> chars);

// Mean font size over every member, valid or not (an empty line counts as one member).
float line_font_size(const TextLine& line, std::span<const PageChar> chars);

}  // namespace vorlin_geometry
