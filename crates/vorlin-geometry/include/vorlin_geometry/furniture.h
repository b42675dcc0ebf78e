#pragma once
// Page furniture across a document: running headers and footers, and page numbers. Only lines in
// the top or bottom tenth of their page are candidates. A candidate whose text is a page number
// ("3", "- 3 -", "Page 3 of 9", "3 / 9", "iii") is a page number; one whose text, digits masked,
// recurs in the same band on at least half of the pages and on at least three, or whose very text
// recurs in the same place on a quarter of the pages and on at least three, is a running header
// (top) or footer (bottom). Everything else is content.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vorlin_geometry/bbox.h"

namespace vorlin_geometry {

enum class Band { None, Top, Bottom };

enum class FurnitureRole { Content, Header, Footer, PageNumber };

// Top when the line's bottom edge is at or above 90 % of the page height, Bottom when its top edge
// is at or below 10 %; None otherwise, and always on a page of non-positive or NaN height.
Band band_of(const BBox& line, const BBox& page);

// band_of, widened to 15 % for the topmost and the bottommost line of a page: classes set running
// lines and page numbers outside the text block but further in than a tenth (LaTeX's article
// puts its page numbers at about 12 % of the height).
Band outer_band(const BBox& line, const BBox& page, bool topmost, bool bottommost);

bool is_page_number_text(std::u32string_view text);

// The text trimmed, inner whitespace runs as one space, every run of ASCII digits as one '#'.
std::u32string furniture_key(std::u32string_view text);

// A line's band, text and place; the text is only read while classifying.
struct BandLine {
  Band band = Band::None;
  std::u32string_view text;
  float position = 0;  // the line's centre as a share of its page's height
  float size = 0;      // the line's font size
};

// One role per line of every page, in the shape of `pages`.
std::vector<std::vector<FurnitureRole>> classify_furniture(
    std::span<const std::vector<BandLine>> pages);

}  // namespace vorlin_geometry
