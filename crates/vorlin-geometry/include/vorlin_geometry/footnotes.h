#pragma once
// Footnotes: per column, the lines at the foot of a page set smaller than the body text, the
// topmost of them opening with a note mark (a number, "*", "†" and the like).

#include <span>
#include <string_view>
#include <vector>

#include "vorlin_geometry/columns.h"

namespace vorlin_geometry {

// A line at or below this share of the body size may be a footnote; captions set \small (0.9)
// stay above it.
inline constexpr float kFootnoteSizeRatio = 0.87f;

// One content line of a page.
struct FootLine {
  std::u32string_view text;
  BBox box;  // relative to the page: (0, 0) to (1, 1)
  float font_size = 0;
  ColumnSlot slot;
};

// Whether each line is part of a footnote: the unbroken run of small lines at the bottom of its
// slot, within the lower half of the page, whose topmost line opens with a note mark.
std::vector<bool> footnote_lines(std::span<const FootLine> lines, float body_size);

}  // namespace vorlin_geometry
