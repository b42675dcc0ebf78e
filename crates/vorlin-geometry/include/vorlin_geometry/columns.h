#pragma once
// Column structure of a page from its gutters. Gutters whose stretches overlap vertically form a
// section; the page reads as zones from top to bottom, alternating between full-width stretches
// and sections, and a section reads column by column, left to right.

#include <cstdint>
#include <span>
#include <vector>

#include "vorlin_geometry/gutters.h"
#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

struct ColumnSection {
  float bottom = 0;
  float top = 0;
  std::vector<float> splits;  // gutter middles, ascending
};

// Sections ordered top to bottom; they never overlap vertically.
struct ColumnLayout {
  std::vector<ColumnSection> sections;
};

// Where an element sits: zone 2k is the full-width stretch above section k (the last one below
// every section), zone 2k+1 is section k; `column` counts the section's splits left of the element.
struct ColumnSlot {
  std::uint32_t zone = 0;
  std::uint32_t column = 0;
  bool operator==(const ColumnSlot&) const = default;
  bool operator<(const ColumnSlot& other) const {
    return zone != other.zone ? zone < other.zone : column < other.column;
  }
};

ColumnLayout column_layout(std::span<const Gutter> gutters);

// The slot of a box, by its centre. A non-finite centre lands in zone 0, column 0.
ColumnSlot locate(const ColumnLayout& layout, const BBox& box);

// The lines with each one cut at every gutter whose stretch holds the line's vertical centre and
// that none of its visible characters crosses; a character goes to the side of its horizontal
// centre (a NaN centre to the left). Pieces keep the line's position, left to right, with their
// own box and mean y0. Lines crossing a gutter (a title, a full-width caption) stay whole. Takes
// the lines by value: most of them pass through unchanged and are moved rather than copied.
std::vector<TextLine> split_at_gutters(std::vector<TextLine> lines, std::span<const PageChar> chars,
                                       std::span<const Gutter> gutters);

}  // namespace vorlin_geometry
