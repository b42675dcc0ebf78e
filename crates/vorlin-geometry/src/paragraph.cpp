#include "vorlin_geometry/paragraph.h"

#include <algorithm>
#include <optional>

#include "vorlin_geometry/letter_runs.h"
#include "vorlin_geometry/utf8.h"
#include "vorlin_geometry/word_line.h"

namespace vorlin_geometry {

namespace {

constexpr float kDefaultGapTolerance = 7.0f;

bool has_visible_char(const TextLine& line, std::span<const PageChar> chars) {
  return std::ranges::any_of(line.char_indices,
                             [&](std::size_t p) { return !is_whitespace(char_at(chars, p).ch); });
}

}  // namespace

float paragraph_gap_tolerance(std::span<const float> line_heights) {
  std::vector<float> valid;
  for (float height : line_heights) {
    if (is_valid_size(height)) valid.push_back(height);
  }
  const std::optional<float> median = upper_median(valid);
  return median ? *median * kParagraphGapFactor : kDefaultGapTolerance;
}

std::vector<Block> build_blocks(std::span<const TextLine> lines, std::span<const LineRole> roles) {
  std::vector<Block> blocks;
  std::vector<float> heights;
  heights.reserve(lines.size());
  for (const TextLine& line : lines) heights.push_back(line.bbox.height());
  const float tolerance = paragraph_gap_tolerance(heights);
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
      if (vertical_gap(paragraph->lines.back().bbox, line.bbox) <= tolerance) {
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
  std::u32string joined;
  for (const TextLine& line : block.lines) {
    // A line text is blank after trimming exactly when every character of the line is whitespace,
    // so the characters decide without building the text first.
    if (!has_visible_char(line, chars)) continue;
    if (!joined.empty()) joined.push_back(U' ');
    joined += line_text(line, chars);
  }
  return encode_utf8(collapse_whitespace(repair_letter_spacing(joined)));
}

std::u32string collapse_whitespace(std::u32string_view text) {
  const std::u32string_view trimmed = trim_whitespace(text);
  std::u32string out;
  out.reserve(trimmed.size());
  bool in_run = false;
  for (char32_t ch : trimmed) {
    if (is_whitespace(ch)) {
      in_run = true;
      continue;
    }
    if (in_run) out.push_back(U' ');
    in_run = false;
    out.push_back(ch);
  }
  return out;
}

}  // namespace vorlin_geometry
