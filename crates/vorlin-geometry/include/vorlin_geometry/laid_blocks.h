#pragma once
// Blocks from column-local lines whose texts are already built: paragraphs by vertical spacing as
// the page's plain paragraph pass does, but column by column; consecutive heading lines of one
// level as one (wrapped) heading; list items as one list; and a paragraph that opens like a
// caption ends where the type size changes. Line texts are joined with hyphenation mended.

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "vorlin_geometry/columns.h"
#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// One kept line of a page, placed in its column, with its text.
struct LaidLine {
  std::u32string text;
  BBox bbox;
  float font_size = 0;
  ColumnSlot slot;
  LineRole role;
  bool emphasised = false;       // most letters bold or small capitals
  bool monospace = false;        // most characters from a fixed-pitch font
  bool italic = false;           // most letters italic
  std::uint32_t font_id = 0;     // the font of most of its letters, 0 unknown
  float pitch = 0;               // character width of a fixed-pitch line, or 0
  bool shaded = false;           // on a listing's shade (shades.h)
  std::u32string columns{};      // a fixed-pitch line's text spaced by columns (fixed_pitch.h)
  bool equation_number = false;  // ends in a display equation's number (equations.h)
  bool math = false;             // set mostly in math faces
};

enum class LaidKind { Paragraph, Heading, List, Code, Equation };

struct LaidBlock {
  LaidKind kind = LaidKind::Paragraph;
  std::uint8_t level = 0;  // headings only
  BBox bbox;
  ColumnSlot slot;
  // Collapsed UTF-8 text; for a list one item a line, a bullet glyph removed, an enumerator kept;
  // for code the listing's lines as set (listings.h).
  std::string text;
  std::vector<std::uint8_t> depths;  // a list's nesting depth per item, 0 outermost
  bool caption_like = false;         // a paragraph that opens like a figure or table caption
};

// A listing that ends a column may go on at the top of the next column or page: where its lines
// start, as a distance from its column's left edge. NaN when the last column ended otherwise.
struct ListingCarry {
  float indent = std::numeric_limits<float>::quiet_NaN();
};

// Blocks in the order of their first lines; blocks whose text is empty are left out.
//
// Only lines of one slot join. Gaps are measured from the last line added, the tolerance being
// `paragraph_gap_tolerance` of all the lines' heights. A line with a list marker
// starts an item when its marker is an unambiguous bullet, or when it and another marker line are
// linked by continuation lines alone; consecutive items join when at most twice the tolerance
// apart, and a line continues an item when within the tolerance and indented past the item's start.
// An item set in past the one before it, or numbered a level deeper ("1.2." under "1."), nests
// one level below it; one set back to an earlier item's indent returns to that item's level.
// Listing lines (listings.h) form code blocks of their own. A line ending in an equation number
// closes an equation, which also takes the displayed lines just above it (set in from both of the
// column's edges, as superscripts and the rows of a formula are). A displayed line set mostly in
// math faces is an equation without a number, with the less tall displayed lines (its super- and
// subscript rows) and displayed math lines just above and below it. A listing that opens a column
// takes its indentation from `carry` (then updated, column by column) when one is given.
std::vector<LaidBlock> build_laid_blocks(std::span<const LaidLine> lines,
                                         ListingCarry* carry = nullptr);

}  // namespace vorlin_geometry
