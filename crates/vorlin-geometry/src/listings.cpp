#include "vorlin_geometry/listings.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "vorlin_geometry/paragraph.h"

namespace vorlin_geometry {

namespace {

// Blank lines a listing keeps together, in line heights.
constexpr float kListingGapLines = 2.5f;
// No source leaves more blank lines in a row; a wild gap must not flood the text.
constexpr float kMaxBlankLines = 3.0f;
// An indentation wider than this many columns is not indentation but a degenerate pitch.
constexpr float kMaxIndent = 200.0f;
// A line set this close below another, in line heights, is the next line of its paragraph...
constexpr float kWrapGapLines = 0.8f;
// ...when the one above runs out to within this many line heights of the column's right edge.
constexpr float kWrapSlackLines = 2.5f;

// Whether `line` takes up a prose line that ran out to the column's right edge `right`: a long
// word set in a fixed-pitch face (a URL) wrapped onto a line of its own.
bool wrapped_from_prose(const ListingLine& prose, const ListingLine& line, float right) {
  const float height = std::max(prose.bbox.height(), line.bbox.height());
  return prose.pitch == 0 && vertical_gap(prose.bbox, line.bbox) <= kWrapGapLines * height &&
         prose.bbox.x1 >= right - kWrapSlackLines * height;
}

float median_pitch(std::span<const ListingLine> lines) {
  std::vector<float> pitches;
  for (const ListingLine& line : lines) {
    if (line.pitch > 0) pitches.push_back(line.pitch);
  }
  return upper_median(pitches).value_or(0.0f);
}

// Pads `text` with `count` copies of `ch`, NaN and negative counts adding none.
void pad(std::u32string& text, float count, float most, char32_t ch) {
  for (float i = 0; i < std::min(count, most); ++i) text.push_back(ch);
}

}  // namespace

bool continues_listing(const ListingLine& above, const ListingLine& below) {
  const float height = std::max(above.bbox.height(), below.bbox.height());
  return above.pitch > 0 && below.pitch > 0 &&
         vertical_gap(above.bbox, below.bbox) <= kListingGapLines * height;
}

std::vector<bool> listing_lines(std::span<const ListingLine> column) {
  std::vector<bool> listing(column.size(), false);
  float right = -std::numeric_limits<float>::infinity();
  for (const ListingLine& line : column) right = std::max(right, line.bbox.x1);
  for (std::size_t i = 0; i < column.size(); ++i) {
    const bool last = i + 1 == column.size();
    const bool edge = i == 0 || (last && !wrapped_from_prose(column[i - 1], column[i], right));
    listing[i] = column[i].shaded || (edge && column[i].pitch > 0);
  }
  for (std::size_t i = 1; i < column.size(); ++i) {
    if (continues_listing(column[i - 1], column[i])) listing[i - 1] = listing[i] = true;
  }
  return listing;
}

std::u32string listing_text(std::span<const ListingLine> lines, float margin) {
  const float pitch = median_pitch(lines);
  float left = margin;
  float step = std::numeric_limits<float>::infinity();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    left = std::min(left, lines[i].bbox.x0);
    if (i > 0) {
      const float down = lines[i - 1].bbox.y0 - lines[i].bbox.y0;
      if (down > 0) step = std::min(step, down);
    }
  }
  std::u32string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) {
      text.push_back(U'\n');
      // Written so that an unknown step or position adds no blank line.
      const float steps = std::round((lines[i - 1].bbox.y0 - lines[i].bbox.y0) / step);
      pad(text, steps - 1, kMaxBlankLines, U'\n');
    }
    if (pitch > 0) pad(text, std::round((lines[i].bbox.x0 - left) / pitch), kMaxIndent, U' ');
    text += lines[i].text;
  }
  return text;
}

}  // namespace vorlin_geometry
