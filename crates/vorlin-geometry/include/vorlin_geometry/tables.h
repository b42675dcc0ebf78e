#pragma once
// Tables found from a page's ruling lines: fully ruled grids (rows and columns from the rules),
// booktabs-style tables and striped ones (horizontal rules or row backgrounds only, columns from
// the gaps the text leaves), then tables with no rules at all (aligned, gapped lines of short
// cells). Cells hold the characters whose centres fall inside them; a cell's wrapped lines join
// with a space. A cell spanning columns is cut at the column bounds where its words leave a gap;
// a phrase running across a bound stays out of the table, as text.

#include <span>
#include <string>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// Thicker than this (in points), a path is a region (a cell background, a stripe), not a rule.
inline constexpr float kRuleThickness = 3.0f;
// A filled box no taller than this (in points) is a row's background, whose top and bottom
// edges part rows.
inline constexpr float kMaxStripeHeight = 24.0f;
// Rules this close (in points) meet or lie on one line.
inline constexpr float kRuleJoin = 2.0f;
// A gap in the text this wide, in units of the type size, separates two columns.
inline constexpr float kColumnGapEm = 0.8f;

struct PagePath {
  BBox box;
  bool stroked = false;
  bool filled = false;
};

struct FoundTable {
  BBox bbox;
  // Rows of UTF-8 cell texts, all of one length, the first row the header.
  std::vector<std::vector<std::string>> cells;
  // Positions of the characters it holds, ascending; text inside its box that crosses its
  // columns (a spanning cell without a gap at the bound, an overprinting neighbour) is not.
  std::vector<std::size_t> glyphs;
};

// The rules among a page's paths, given in paint order: thin ones as they are, the four edges of
// a stroked box and the top and bottom of a row's background. Other filled boxes are regions and
// give none. A fill painted over earlier rules is a layer over the page (a sticky site header over
// what scrolls beneath): the page's rules beneath it stay whole, and the paths drawn on it
// afterwards are its own and give none.
std::vector<BBox> ruling_lines(std::span<const PagePath> paths);

// Tables of at least two rows and two columns, top to bottom. Every character lies in at most
// one; text set in a fixed-pitch font throughout (code) is in none.
// `lines`: the page's text lines (group_lines over `chars`), which the search for tables without
// rules reads rather than grouping the glyphs again; the first form groups them itself.
std::vector<FoundTable> find_tables(std::span<const BBox> rules, std::span<const PageChar> chars);
std::vector<FoundTable> find_tables(std::span<const BBox> rules, std::span<const PageChar> chars,
                                    std::span<const TextLine> lines);

// Whether `next`, the first table of a page, goes on with `last`, the previous page's last: it
// repeats last's header row, as a printed table does over each page break. A table split
// without that stays two.
bool continues_table(const std::vector<std::vector<std::string>>& last,
                     const std::vector<std::vector<std::string>>& next);

// Appends to `last` the rows of `next`, the table going on after a page break, less its repeated
// header. A first row with its first cell empty is the rest of a row the break cut (a row runs on
// under its key), so its cells go on last's final row.
void append_continued_rows(std::vector<std::vector<std::string>>& last,
                           const std::vector<std::vector<std::string>>& next);

// The GitHub pipe table of `cells`: the first row as the header, `|` escaped, newlines as spaces.
std::string pipe_table(const std::vector<std::vector<std::string>>& cells);

}  // namespace vorlin_geometry
