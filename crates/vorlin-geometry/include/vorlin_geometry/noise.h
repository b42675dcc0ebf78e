#pragma once
// Drops page furniture line by line: large numeric labels in the top third, lone symbols and page
// numbers at the foot. Each rule reads one line's characters and the page box; nothing else.

#include <span>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// Copies of the lines that are not `is_noise`, in input order.
std::vector<TextLine> filter_noise(std::span<const TextLine> lines, std::span<const PageChar> chars,
                                   const BBox& page);

// Any of the three rules below holds.
bool is_noise(const TextLine& line, std::span<const PageChar> chars, const BBox& page);

// Non-whitespace text only of digits, '.', 'v', 'V', at relative height >= 2/3, with an upper
// median valid font size of at least 12. Never holds on a page of non-positive height.
bool is_top_numeric_label(const TextLine& line, std::span<const PageChar> chars, const BBox& page);

// Exactly one non-whitespace character, and it is not alphanumeric.
bool is_lone_symbol(const TextLine& line, std::span<const PageChar> chars);

// Non-whitespace text only of ASCII digits at relative height <= 0.05. Never holds on a page of
// non-positive height.
bool is_bottom_page_number(const TextLine& line, std::span<const PageChar> chars, const BBox& page);

}  // namespace vorlin_geometry
