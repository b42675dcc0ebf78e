#pragma once
// Line text that mends letter-spaced runs ("T I T L E") and nothing else. Only a run of at least
// three consecutive one-character alphanumeric tokens is joined, so "1 Input System", "I have a
// cat" and "x = a + b" keep their spaces. Inside a run, a word break is a gap clearly wider than
// the run's typical letter gap, or two or more whitespace characters.

#include <span>
#include <string>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// A maximal run of non-whitespace characters of a line: `length` characters of the line's text
// from `begin`, the left edge of its first character and the right edge of its last, and the
// number of whitespace characters between it and the previous token.
struct Token {
  std::size_t begin = 0;
  std::size_t length = 0;
  float x0 = 0;
  float x1 = 0;
  std::size_t spaces_before = 0;
};

// The line's tokens left to right (its words, as `split_words` finds them, split further at
// whitespace) over one buffer of their characters.
struct LineTokens {
  std::u32string text;
  std::vector<Token> tokens;
};

LineTokens line_tokens(const TextLine& line, std::span<const PageChar> chars);

// The tokens joined by single spaces, letter-spaced runs joined into words.
std::string join_letter_runs(const LineTokens& line);

// `join_letter_runs(line_tokens(line, chars))`.
std::string mended_line_text(const TextLine& line, std::span<const PageChar> chars);

}  // namespace vorlin_geometry
