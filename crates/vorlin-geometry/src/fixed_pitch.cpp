#include "vorlin_geometry/fixed_pitch.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "vorlin_geometry/utf8.h"
#include "vorlin_geometry/word_line.h"

namespace vorlin_geometry {

namespace {

// No program line is wider; a degenerate pitch must not pad a line without end.
constexpr float kMaxColumn = 1000.0f;
constexpr float kProgramShare = 0.8f;

}  // namespace

float fixed_pitch(const TextLine& line, std::span<const PageChar> chars) {
  std::vector<float> widths;
  std::size_t letters = 0, fixed_letters = 0;
  for (std::size_t p : line.char_indices) {
    const PageChar& c = char_at(chars, p);
    if (is_alphabetic(c.ch)) {
      ++letters;
      fixed_letters += c.monospace ? 1 : 0;
    }
    if (c.monospace && !is_whitespace(c.ch) && is_valid_size(c.bbox.width())) {
      widths.push_back(c.bbox.width());
    }
  }
  if (static_cast<float>(fixed_letters) < kProgramShare * static_cast<float>(letters)) return 0;
  return upper_median(widths).value_or(0.0f);
}

std::u32string fixed_pitch_text(const TextLine& line, std::span<const PageChar> chars,
                                float pitch) {
  std::u32string text;
  text.reserve(line.char_indices.size());
  WordBreaks breaks(line, chars);
  for (std::size_t p : line.char_indices) {
    const PageChar& c = char_at(chars, p);
    // A word break stays one however the columns round (a line number in another face).
    if (breaks.starts_word(c) && !text.empty() && text.back() != U' ') text.push_back(U' ');
    if (is_whitespace(c.ch)) continue;
    if (pitch > 0) {
      // Written so that a NaN column adds no spaces.
      const float column = std::round((c.bbox.x0 - line.bbox.x0) / pitch);
      while (static_cast<float>(text.size()) < std::min(column, kMaxColumn)) text.push_back(U' ');
    }
    text.push_back(scalar_or_replacement(c.ch));
  }
  return text;
}

}  // namespace vorlin_geometry
