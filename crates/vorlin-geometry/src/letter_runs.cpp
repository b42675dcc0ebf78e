#include "vorlin_geometry/letter_runs.h"

#include "vorlin_geometry/float_rules.h"
#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {

namespace {

constexpr std::size_t kMinRun = 3;
// A gap this many times the run's median letter gap separates two words.
constexpr float kWordGapFactor = 1.6f;
constexpr std::size_t kWordBreakSpaces = 2;
constexpr float kWordGapFactorOfWidth = 0.3f;
constexpr float kMinMeanWidth = 0.001f;

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

}  // namespace

LineTokens line_tokens(const TextLine& line, std::span<const PageChar> chars) {
  LineTokens out;
  const std::vector<std::size_t>& positions = line.char_indices;
  if (positions.empty()) return out;
  out.text.reserve(positions.size());

  // Word breaks by the rule of `split_words` (a gap above 0.3 x the line's mean character width,
  // at least 0.001), applied here without building its Word records: this runs on every line.
  float width_sum = -0.0f;
  for (std::size_t p : positions) width_sum += char_at(chars, p).bbox.width();
  const float threshold = max_num(width_sum / static_cast<float>(positions.size()), kMinMeanWidth) *
                          kWordGapFactorOfWidth;

  std::size_t spaces = 0;
  bool open = false;
  float previous_right = 0;
  for (std::size_t i = 0; i < positions.size(); ++i) {
    const PageChar& c = chars[positions[i]];
    if (i > 0 && c.bbox.x0 - previous_right > threshold) open = false;  // a word gap
    previous_right = c.bbox.x1;
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
    out.text.push_back(c.ch);
    ++token.length;
    // Edges of the first and last character, as word splitting measures its gaps.
    token.x1 = c.bbox.x1;
  }
  return out;
}

std::string join_letter_runs(const LineTokens& line) {
  const std::vector<Token>& tokens = line.tokens;
  const std::u32string_view text_of(line.text);
  std::string text;
  text.reserve(line.text.size() + tokens.size());
  const auto append = [&](const Token& token) {
    for (char32_t ch : text_of.substr(token.begin, token.length)) append_utf8(text, ch);
  };
  std::size_t i = 0;
  while (i < tokens.size()) {
    std::size_t end = i;
    while (end < tokens.size() && is_single_letter(line, tokens[end])) ++end;
    if (end - i >= kMinRun) {
      const std::vector<bool> breaks = word_breaks(tokens, i, end);
      for (std::size_t k = i; k < end; ++k) {
        if (!text.empty() && (k == i || breaks[k - i - 1])) text.push_back(' ');
        append(tokens[k]);
      }
      i = end;
      continue;
    }
    const std::size_t stop = end == i ? i + 1 : end;
    for (; i < stop; ++i) {
      if (!text.empty()) text.push_back(' ');
      append(tokens[i]);
    }
  }
  return text;
}

std::string mended_line_text(const TextLine& line, std::span<const PageChar> chars) {
  return join_letter_runs(line_tokens(line, chars));
}

}  // namespace vorlin_geometry
