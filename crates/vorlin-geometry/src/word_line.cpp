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

WordBreaks::WordBreaks(const TextLine& line, std::span<const PageChar> chars) {
  float width_sum = -0.0f;
  for (std::size_t p : line.char_indices) width_sum += char_at(chars, p).bbox.width();
  const float mean_width = width_sum / static_cast<float>(line.char_indices.size());
  threshold_ = max_num(mean_width, kMinMeanWidth) * kWordGapFactor;
}

bool WordBreaks::starts_word(const PageChar& c) {
  const bool starts = !first_ && c.bbox.x0 - previous_right_ > threshold_;
  first_ = false;
  previous_right_ = c.bbox.x1;
  return starts;
}

std::u32string line_text(const TextLine& line, std::span<const PageChar> chars) {
  std::u32string text;
  text.reserve(line.char_indices.size());
  WordBreaks breaks(line, chars);
  for (std::size_t p : line.char_indices) {
    const PageChar& c = chars[p];
    if (breaks.starts_word(c)) text.push_back(U' ');
    text.push_back(scalar_or_replacement(c.ch));
  }
  return text;
}

float line_font_size(const TextLine& line, std::span<const PageChar> chars) {
  float sum = -0.0f;
  for (std::size_t position : line.char_indices) sum += char_at(chars, position).font_size;
  const std::size_t count = line.char_indices.empty() ? 1 : line.char_indices.size();
  return sum / static_cast<float>(count);
}

void absorb_line(TextLine& host, const TextLine& guest, std::span<const PageChar> chars) {
  host.char_indices.insert(host.char_indices.end(), guest.char_indices.begin(),
                           guest.char_indices.end());
  stable_sort_by_float_key(
      host.char_indices, [&](std::size_t p) { return char_at(chars, p).bbox.x0; },
      SortOrder::Ascending);
  host.bbox = BBox::union_of(host.bbox, guest.bbox);
  float sum = -0.0f;
  for (std::size_t p : host.char_indices) sum += char_at(chars, p).bbox.y0;
  host.mean_y0 = sum / static_cast<float>(host.char_indices.size());
}

}  // namespace vorlin_geometry
