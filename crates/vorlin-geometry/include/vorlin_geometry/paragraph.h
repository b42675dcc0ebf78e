#pragma once
// Blocks from the page's kept lines (every heading line alone, body lines joined by vertical
// spacing) and each block's final text.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// A line joins the paragraph above it when the space between them is at most this share of the
// page's median valid line height.
inline constexpr float kParagraphGapFactor = 0.7f;

// kParagraphGapFactor x the upper median of the valid `line_heights`; 7 points when none is valid.
float paragraph_gap_tolerance(std::span<const float> line_heights);

// The space from the bottom of `above` down to the top of `below` (negative when they overlap).
inline float vertical_gap(const BBox& above, const BBox& below) { return above.y0 - below.y1; }

// Blocks in the order of their first lines. `roles[i]` describes `lines[i]`; lines past the end of
// `roles` are body. A body line joins the open paragraph when the gap from the paragraph's last
// line is within `paragraph_gap_tolerance` of all the lines' heights.
std::vector<Block> build_blocks(std::span<const TextLine> lines, std::span<const LineRole> roles);

// The block's non-blank line texts joined by single spaces, letter-spacing repaired and
// whitespace collapsed, as UTF-8; possibly empty.
std::string block_text(const Block& block, std::span<const PageChar> chars);

// Trims Unicode whitespace and replaces each inner run of it by one U+0020.
std::u32string collapse_whitespace(std::u32string_view text);

}  // namespace vorlin_geometry
