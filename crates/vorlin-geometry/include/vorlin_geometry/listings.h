#pragma once
// Program listings: which lines of a column form one, and its text with the lines, indentation
// and blank lines of the source.

#include <limits>
#include <span>
#include <string>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// One line of a column, top to bottom; `pitch` is its character width when it is set in a
// fixed-pitch font, 0 for prose.
struct ListingLine {
  std::u32string_view text;  // spaced by columns (fixed_pitch.h)
  BBox bbox;
  float pitch = 0;
  bool shaded = false;  // on a listing's shade (shades.h)
};

// Whether two fixed-pitch lines, `above` over `below`, belong to one listing: at most
// kListingGapLines of their height apart, which leaves room for blank lines in the source.
bool continues_listing(const ListingLine& above, const ListingLine& below);

// Which lines of a column are listing lines: shaded lines, fixed-pitch lines that continue or are
// continued by another, and a fixed-pitch line that opens or ends the column (a listing broken by
// the page) unless it ends a paragraph whose line above ran out to the column's edge (a URL
// wrapped onto a line of its own). A lone unshaded fixed-pitch line elsewhere is more often a
// signature or a command set apart in prose.
std::vector<bool> listing_lines(std::span<const ListingLine> column);

// The listing of consecutive listing lines: each line indented by its left edge's distance from
// the leftmost line's, or from `margin` when that is further left, in character widths; a blank
// line for each line step left empty between two lines (the step being the smallest between
// neighbours), one text line a line. The margin serves a listing continued from another column
// or page, whose own leftmost line may be indented.
std::u32string listing_text(std::span<const ListingLine> lines,
                            float margin = std::numeric_limits<float>::infinity());

}  // namespace vorlin_geometry
