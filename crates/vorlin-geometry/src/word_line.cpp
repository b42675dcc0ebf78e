#include "vorlin_geometry/word_line.h"

#include <cmath>
#include <numeric>

#include "vorlin_geometry/float_rules.h"
#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {

namespace {

constexpr float kLineToleranceFactor = 0.4f;
constexpr float kDefaultMedianSize = 1.0f;
constexpr float kWordGapFactor = 0.3f;
constexpr float kMinMeanWidth = 0.001f;

float line_tolerance(std::span<const PageChar> chars) {
  std::vector<float> sizes;
  for (const PageChar& c : chars) {
    if (is_valid_size(c.font_size)) sizes.push_back(c.font_size);
  }
  return upper_median(sizes).value_or(kDefaultMedianSize) * kLineToleranceFactor;
}

}  // namespace

std::vector<TextLine> group_lines(std::span<const PageChar> chars) {
  std::vector<TextLine> lines;
  if (chars.empty()) return lines;
  const float tolerance = line_tolerance(chars);

  std::vector<std::size_t> order(chars.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  stable_sort_by_float_key(order, [&](std::size_t p) { return chars[p].bbox.y0; },
                           SortOrder::Descending);

  for (std::size_t p : order) {
    const PageChar& c = chars[p];
    // Only the newest line is a candidate: comparing with its running mean, not with its nearest
    // member, is what keeps a slow slope in one line and a superscript out of it.
    if (!lines.empty() && std::fabs(lines.back().mean_y0 - c.bbox.y0) <= tolerance) {
      TextLine& line = lines.back();
      line.char_indices.push_back(p);
      line.bbox = BBox::union_of(line.bbox, c.bbox);
      const auto count = static_cast<float>(line.char_indices.size());
      line.mean_y0 = line.mean_y0 + (c.bbox.y0 - line.mean_y0) / count;
    } else {
      lines.push_back(TextLine{{p}, c.bbox, c.bbox.y0});
    }
  }

  for (TextLine& line : lines) {
    if (line.char_indices.size() < 2) continue;
    stable_sort_by_float_key(line.char_indices, [&](std::size_t p) { return chars[p].bbox.x0; },
                             SortOrder::Ascending);
  }
  return lines;
}

std::vector<Word> split_words(const TextLine& line, std::span<const PageChar> chars) {
  std::vector<Word> words;
  const std::vector<std::size_t>& positions = line.char_indices;
  if (positions.empty()) return words;

  float width_sum = -0.0f;
  for (std::size_t p : positions) width_sum += char_at(chars, p).bbox.width();

  const PageChar& first = chars[positions.front()];
  std::size_t word_begin = 0;
  BBox word_box = first.bbox;
  float previous_right = first.bbox.x1;
  const auto close_word = [&](std::size_t word_end) {
    words.push_back(make_word(
        std::span(positions).subspan(word_begin, word_end - word_begin), word_box, chars));
  };

  const float mean_width = width_sum / static_cast<float>(positions.size());
  const float threshold = max_num(mean_width, kMinMeanWidth) * kWordGapFactor;
  for (std::size_t i = 1; i < positions.size(); ++i) {
    const PageChar& c = chars[positions[i]];
    const float gap = c.bbox.x0 - previous_right;
    if (gap > threshold) {
      close_word(i);
      word_begin = i;
      word_box = c.bbox;
    } else {
      // Overlapping characters (negative gap) and unknown gaps (NaN) stay in the word.
      word_box = BBox::union_of(word_box, c.bbox);
    }
    // Gaps are measured from the previous character, not from the word's widest right edge.
    previous_right = c.bbox.x1;
  }
  close_word(positions.size());
  return words;
}

Word make_word(std::span<const std::size_t> positions, const BBox& bbox,
               std::span<const PageChar> chars) {
  Word word{{positions.begin(), positions.end()}, {}, bbox};
  word.text.reserve(positions.size());
  for (std::size_t p : positions) append_utf8(word.text, char_at(chars, p).ch);
  return word;
}

std::string line_text(std::span<const Word> words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text.push_back(' ');
    text += words[i].text;
  }
  return text;
}

}  // namespace vorlin_geometry
