#pragma once
// Blocks from the page's kept lines (every heading line alone, body lines joined by vertical
// spacing) and each block's final text.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// Blocks in the order of their first lines. `roles[i]` describes `lines[i]`; lines past the end of
// `roles` are body. A body line joins the open paragraph when the space between the bottom of the
// paragraph's last line and its own top is at most 0.7 x the median valid line height (7.0 when
// no line height is valid).
std::vector<Block> build_blocks(std::span<const TextLine> lines, std::span<const LineRole> roles);

// The block's non-blank line texts joined by single spaces, letter-spacing repaired and
// whitespace collapsed; possibly empty.
std::string block_text(const Block& block, std::span<const PageChar> chars);

// When more than 30 % of the whitespace-separated tokens are single characters, drops single
// spaces and keeps runs of two or more U+0020 as word breaks; otherwise returns `text` unchanged.
std::string repair_letter_spacing(std::string_view text);

// Trims Unicode whitespace and replaces each inner run of it by one U+0020.
std::string collapse_whitespace(std::string_view text);

}  // namespace vorlin_geometry
