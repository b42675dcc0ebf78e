#pragma once
// Mending letter-spaced text ("T I T L E"). Two repairs, both taking a run of two or more U+0020
// (`kWordBreakSpaces`) for a word break inside spaced-out letters:
// - `repair_letter_spacing` judges a whole block's text by its share of one-character tokens;
// - `join_letter_runs` mends a line, joining only a run of at least three consecutive
//   one-character alphanumeric tokens, so "1 Input System", "I have a cat" and "x = a + b" keep
//   their spaces. Inside a run a gap clearly wider than the run's typical letter gap also breaks.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

inline constexpr std::size_t kWordBreakSpaces = 2;

// When more than 30 % of the whitespace-separated tokens are single characters, drops single
// spaces and keeps runs of `kWordBreakSpaces` or more U+0020 as one space; otherwise returns
// `text` unchanged.
std::u32string repair_letter_spacing(std::u32string_view text);

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

// The line's tokens left to right (its words, split further at whitespace) over one buffer of
// their characters.
struct LineTokens {
  std::u32string text;
  std::vector<Token> tokens;
};

// Words break at wide gaps, at the backend's word breaks unless a letter is kerned back into the
// one before, and after a footnote's raised mark.
LineTokens line_tokens(const TextLine& line, std::span<const PageChar> chars);

// The tokens joined by single spaces, letter-spaced runs joined into words.
std::u32string join_letter_runs(const LineTokens& line);

// `text` without the spaces between ideographs: a CJK heading set letter-spaced ("摘 要") is one
// word, since CJK puts no spaces between words.
std::u32string join_spaced_ideographs(std::u32string_view text);

// `join_letter_runs(line_tokens(line, chars))`.
std::u32string mended_line_text(const TextLine& line, std::span<const PageChar> chars);

}  // namespace vorlin_geometry
