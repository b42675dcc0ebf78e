#include "vorlin_geometry/paragraph.h"

#include <algorithm>
#include <optional>

#include "vorlin_geometry/utf8.h"
#include "vorlin_geometry/word_line.h"

namespace vorlin_geometry {

namespace {

constexpr float kGapToleranceFactor = 0.7f;
constexpr float kDefaultGapTolerance = 7.0f;
constexpr float kLetterSpacingRatio = 0.3f;
constexpr std::size_t kWordBreakRun = 2;

float gap_tolerance(std::span<const TextLine> lines) {
  std::vector<float> heights;
  for (const TextLine& line : lines) {
    const float height = line.bbox.height();
    if (is_valid_size(height)) heights.push_back(height);
  }
  const std::optional<float> median = upper_median(heights);
  return median ? *median * kGapToleranceFactor : kDefaultGapTolerance;
}

bool has_visible_char(const TextLine& line, std::span<const PageChar> chars) {
  return std::ranges::any_of(line.char_indices,
                             [&](std::size_t p) { return !is_whitespace(char_at(chars, p).ch); });
}

std::string join_words(const std::vector<std::u32string>& words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text.push_back(' ');
    text += encode_utf8(words[i]);
  }
  return text;
}

}  // namespace

std::vector<Block> build_blocks(std::span<const TextLine> lines, std::span<const LineRole> roles) {
  std::vector<Block> blocks;
  const float tolerance = gap_tolerance(lines);
  std::optional<Block> paragraph;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const TextLine& line = lines[i];
    if (i < roles.size() && roles[i].is_heading) {
      if (paragraph) blocks.push_back(std::move(*paragraph));
      paragraph.reset();
      blocks.push_back(Block{{line}, line.bbox, true, roles[i].level});
      continue;
    }
    if (paragraph) {
      // Measured from the last line added: a paragraph's box or first line says nothing about
      // the spacing at its bottom.
      const float gap = paragraph->lines.back().bbox.y0 - line.bbox.y1;
      if (gap <= tolerance) {
        paragraph->lines.push_back(line);
        paragraph->bbox = BBox::union_of(paragraph->bbox, line.bbox);
        continue;
      }
      blocks.push_back(std::move(*paragraph));
    }
    paragraph = Block{{line}, line.bbox, false, 0};
  }
  if (paragraph) blocks.push_back(std::move(*paragraph));
  return blocks;
}

std::string block_text(const Block& block, std::span<const PageChar> chars) {
  std::string joined;
  for (const TextLine& line : block.lines) {
    // A line text is blank after trimming exactly when every character of the line is whitespace,
    // so the characters decide without building the text first.
    if (!has_visible_char(line, chars)) continue;
    if (!joined.empty()) joined.push_back(' ');
    joined += line_text(split_words(line, chars));
  }
  return collapse_whitespace(repair_letter_spacing(joined));
}

std::string repair_letter_spacing(std::string_view text) {
  const std::u32string chars = decode_utf8(text);

  std::size_t tokens = 0;
  std::size_t single_char_tokens = 0;
  std::size_t token_length = 0;
  for (std::size_t i = 0; i <= chars.size(); ++i) {
    if (i < chars.size() && !is_whitespace(chars[i])) {
      ++token_length;
      continue;
    }
    if (token_length > 0) {
      ++tokens;
      if (token_length == 1) ++single_char_tokens;
    }
    token_length = 0;
  }
  if (tokens == 0) return std::string(text);
  const float ratio = static_cast<float>(single_char_tokens) / static_cast<float>(tokens);
  if (!(ratio > kLetterSpacingRatio)) return std::string(text);

  // Only U+0020 counts towards a break; other whitespace is kept inside the word as written.
  std::vector<std::u32string> words;
  std::u32string word;
  std::size_t space_run = 0;
  for (char32_t ch : chars) {
    if (ch == U' ') {
      ++space_run;
      continue;
    }
    if (space_run >= kWordBreakRun && !word.empty()) {
      words.push_back(std::move(word));
      word.clear();
    }
    word.push_back(ch);
    space_run = 0;
  }
  if (!word.empty()) words.push_back(std::move(word));
  return join_words(words);
}

std::string collapse_whitespace(std::string_view text) {
  const std::u32string chars = decode_utf8(text);
  const std::u32string_view trimmed = trim_whitespace(chars);
  std::string out;
  out.reserve(trimmed.size());
  bool in_run = false;
  for (char32_t ch : trimmed) {
    if (is_whitespace(ch)) {
      in_run = true;
      continue;
    }
    if (in_run) out.push_back(' ');
    in_run = false;
    append_utf8(out, ch);
  }
  return out;
}

}  // namespace vorlin_geometry
