#pragma once
// Figure captions: text that opens with "Figure N", "Fig. N" or "Table N" (N a number, optionally
// followed by one letter, then ':', '.', whitespace or the end), placed just above or below a
// figure.

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "vorlin_geometry/bbox.h"

namespace vorlin_geometry {

// Also in capitals ("FIGURE 2.", "FIG. 3", "TABLE 1:").
bool is_caption_text(std::u32string_view text);

// How far a caption may sit from its figure: three times the upper median of the page's valid
// line heights (10 points when none is valid).
float caption_reach(std::span<const float> line_heights);

// For each figure, the position in `captions` of its caption: the nearest box that overlaps the
// figure horizontally and lies above or below it with at most `reach` between their edges (boxes
// that overlap vertically count as distance 0). Several figures may share one caption (sub-figures
// above one caption line). NaN distances never match.
std::vector<std::optional<std::size_t>> match_captions(std::span<const BBox> figures,
                                                       std::span<const BBox> captions, float reach);

}  // namespace vorlin_geometry
