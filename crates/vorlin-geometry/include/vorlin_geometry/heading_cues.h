#pragma once
// What decides headings beyond type size, over the lines of a whole document: a table of contents
// entry (also one whose page number stands apart on its row) or program text is never a heading; a
// short line set wholly in bold or small capitals at the body size is one when it opens a block or
// carries a section number (unless the text under it is indented: then it is the term of a
// definition list), and so is a numbered one in a face of its own (a sans serif among serifs); on
// the title page the centred lines under the title (authors, affiliations, dates), down to a first
// section's number, are text, not headings; covers and the front matter's title pages keep only
// their largest heading; and the heading of a page that holds only it and its label ("Part II")
// ranks above all others.

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// One content line of the document, in reading order within each page, pages in order.
struct CueLine {
  std::u32string_view text;
  std::size_t page = 0;
  BBox box;  // relative to its page: (0, 0) to (1, 1)
  float font_size = 0;
  bool emphasised = false;     // most letters bold or small capitals
  bool distinct_face = false;  // upright, at about the body size, in another face than the body's
  bool monospace = false;      // most characters from a fixed-pitch font
  bool opens_block = false;    // first of its column, or further below the line above than a pitch
  LineRole role;               // the verdict of the size rule
  // How far right of it the next line of its column starts, in its own heights.
  float indent_below = 0;
};

// Dot leaders (". . ." or "....") or a section number with a trailing page number: "2.1 Scope 7".
bool is_contents_entry(std::u32string_view text);

// How many parts the leading section number has ("4.2.1 Title" 3, "A.2 Title" 2, "7 Title" 1);
// 0 without one.
std::size_t section_depth(std::u32string_view text);

// The size rule's roles revised by the cues above. Emphasis headings rank one level below the
// deepest size heading (at most 6).
std::vector<LineRole> revise_headings(std::span<const CueLine> lines);

}  // namespace vorlin_geometry
