#pragma once
// Heading detection by font size relative to the page's body size: lines at least 1.1 x the body
// size, away from the page's top and bottom margins and with a real word as text, become headings;
// their level is the rank of their size among the page's merged heading sizes (capped at 6).

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

struct SizeBucket {
  float mean = 0;
  std::uint32_t count = 0;
  bool operator==(const SizeBucket&) const = default;
};

// What heading detection reads of one line.
struct HeadingLine {
  float font_size = 0;
  BBox box;
  bool heading_text = false;  // `is_heading_text` of the line's text
};

// One role per line. `in_margins` keeps lines in the top and bottom margins in the running, for a
// caller that has already taken the page furniture out.
std::vector<LineRole> detect_headings(std::span<const HeadingLine> lines, const BBox& page,
                                      bool in_margins = false);

// Renumbers the heading roles so that the levels in use follow one another from the shallowest
// one: levels {1, 2, 5} become {1, 2, 3}. A Markdown outline that skips levels nests wrongly in
// readers; which heading ranks above which is kept.
void close_level_gaps(std::span<LineRole> roles);

// Sizes in (0, +inf) bucketed by 2 x size rounded half away from zero, as (running mean, count)
// in ascending bucket order; other sizes are skipped.
std::vector<SizeBucket> size_histogram(std::span<const float> sizes);

// After trimming: at least three alphanumeric characters, at least one of them alphabetic.
bool is_heading_text(std::u32string_view text);

// After trimming: two or more CJK ideographs, spaces between them allowed. A CJK heading of two
// characters ("摘要", "致谢") says as much as a word, though it is short of three characters.
bool is_ideographic_word(std::u32string_view text);

}  // namespace vorlin_geometry
