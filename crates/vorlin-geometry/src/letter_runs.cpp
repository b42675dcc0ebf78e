#include "vorlin_geometry/letter_runs.h"

#include <algorithm>

#include "vorlin_geometry/utf8.h"
#include "vorlin_geometry/word_line.h"

namespace vorlin_geometry {

namespace {

constexpr float kLetterSpacingRatio = 0.3f;
constexpr std::size_t kMinRun = 3;
// A gap this many times the run's median letter gap separates two words.
constexpr float kWordGapFactor = 1.6f;
// Share of the narrower letter by which a letter reaching back into the one before it overlaps
// it: no word space does that, a logo's kerning does ("XeLaTeX", "guIt"), so the backend's word
// break between them is not taken.
constexpr float kStepBackShare = 0.1f;

bool steps_back(const PageChar& previous, const PageChar& c) {
  const float narrower = std::min(previous.bbox.width(), c.bbox.width());
  return previous.bbox.x1 - c.bbox.x0 > kStepBackShare * narrower;
}

// A footnote opens with its mark, a digit set small and raised, often right against the first
// word: the word starts at the letter after it. Sizes relative to the letter's.
constexpr float kMarkSizeRatio = 0.8f;
constexpr float kMarkRaise = 0.15f;

bool after_note_mark(const PageChar& previous, const PageChar& c) {
  // Written so that NaN anywhere breaks nothing.
  return previous.ch >= U'0' && previous.ch <= U'9' && is_alphabetic(c.ch) &&
         previous.font_size <= kMarkSizeRatio * c.font_size &&
         previous.bbox.y0 - c.bbox.y0 > kMarkRaise * c.font_size;
}

bool is_single_letter(const LineTokens& line, const Token& token) {
  return token.length == 1 && is_alphanumeric(line.text[token.begin]);
}

// Where, inside the run [begin, end), a word ends after token k.
std::vector<bool> word_breaks(std::span<const Token> tokens, std::size_t begin, std::size_t end) {
  std::vector<float> gaps;
  for (std::size_t k = begin; k + 1 < end; ++k) gaps.push_back(tokens[k + 1].x0 - tokens[k].x1);
  std::vector<float> finite;
  for (float gap : gaps) {
    if (std::isfinite(gap)) finite.push_back(gap);
  }
  const std::optional<float> median = upper_median(finite);
  std::vector<bool> breaks(gaps.size(), false);
  for (std::size_t i = 0; i < gaps.size(); ++i) {
    const bool wide = median && *median > 0 && gaps[i] > *median * kWordGapFactor;
    breaks[i] = wide || tokens[begin + i + 1].spaces_before >= kWordBreakSpaces;
  }
  return breaks;
}

bool mostly_single_characters(std::u32string_view text) {
  std::size_t tokens = 0;
  std::size_t single_char_tokens = 0;
  std::size_t token_length = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !is_whitespace(text[i])) {
      ++token_length;
      continue;
    }
    if (token_length > 0) {
      ++tokens;
      if (token_length == 1) ++single_char_tokens;
    }
    token_length = 0;
  }
  if (tokens == 0) return false;
  const float ratio = static_cast<float>(single_char_tokens) / static_cast<float>(tokens);
  return ratio > kLetterSpacingRatio;
}

}  // namespace

std::u32string repair_letter_spacing(std::u32string_view text) {
  if (!mostly_single_characters(text)) return std::u32string(text);
  // Only U+0020 counts towards a break; other whitespace is kept inside the word as written.
  std::u32string out;
  out.reserve(text.size());
  bool word_open = false;
  std::size_t space_run = 0;
  for (char32_t ch : text) {
    if (ch == U' ') {
      ++space_run;
      continue;
    }
    if (space_run >= kWordBreakSpaces && word_open) out.push_back(U' ');
    out.push_back(ch);
    word_open = true;
    space_run = 0;
  }
  return out;
}

LineTokens line_tokens(const TextLine& line, std::span<const PageChar> chars) {
  LineTokens out;
  const std::vector<std::size_t>& positions = line.char_indices;
  if (positions.empty()) return out;
  out.text.reserve(positions.size());

  WordBreaks breaks(line, chars);
  std::size_t spaces = 0;
  bool open = false;
  const PageChar* previous = nullptr;
  for (std::size_t p : positions) {
    const PageChar& c = chars[p];
    // The backend's word boundary counts as well: justified text can set words closer than the
    // gap rule allows.
    const bool backend_break = c.space_before && !(previous && steps_back(*previous, c));
    const bool mark_before = previous && after_note_mark(*previous, c);
    previous = &c;
    if (breaks.starts_word(c) || backend_break || mark_before) open = false;
    if (is_whitespace(c.ch)) {
      ++spaces;
      open = false;
      continue;
    }
    if (!open) {
      out.tokens.push_back(Token{out.text.size(), 0, c.bbox.x0, c.bbox.x1, spaces});
      spaces = 0;
      open = true;
    }
    Token& token = out.tokens.back();
    out.text.push_back(scalar_or_replacement(c.ch));
    ++token.length;
    // Edges of the first and last character, as word splitting measures its gaps.
    token.x1 = c.bbox.x1;
  }
  return out;
}

std::u32string join_letter_runs(const LineTokens& line) {
  const std::vector<Token>& tokens = line.tokens;
  const std::u32string_view text_of(line.text);
  std::u32string text;
  text.reserve(line.text.size() + tokens.size());
  const auto append = [&](const Token& token) {
    text += text_of.substr(token.begin, token.length);
  };
  std::size_t i = 0;
  while (i < tokens.size()) {
    std::size_t end = i;
    while (end < tokens.size() && is_single_letter(line, tokens[end])) ++end;
    if (end - i >= kMinRun) {
      const std::vector<bool> breaks = word_breaks(tokens, i, end);
      for (std::size_t k = i; k < end; ++k) {
        if (!text.empty() && (k == i || breaks[k - i - 1])) text.push_back(U' ');
        append(tokens[k]);
      }
      i = end;
      continue;
    }
    const std::size_t stop = end == i ? i + 1 : end;
    for (; i < stop; ++i) {
      if (!text.empty()) text.push_back(U' ');
      append(tokens[i]);
    }
  }
  return text;
}

std::u32string join_spaced_ideographs(std::u32string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == U' ' && !out.empty() && is_ideograph(out.back()) && i + 1 < text.size() &&
        is_ideograph(text[i + 1])) {
      continue;
    }
    out.push_back(text[i]);
  }
  return out;
}

std::u32string mended_line_text(const TextLine& line, std::span<const PageChar> chars) {
  return join_letter_runs(line_tokens(line, chars));
}

}  // namespace vorlin_geometry
