#pragma once
// Column gutters of a page: vertical strips that no visible character crosses over a run of
// consecutive lines. Free space in a line is a gap of at least 0.6 em that is also at least 0.6 x
// the size of the smaller character beside it (a large title's word spaces are no gutter). A
// strip free over a run is a gutter when at least three lines of the run have text on each side
// of it, that text is at least 5 em wide for most of them (a table's narrow cells or a form's
// labels make no columns), and on at least one side most of it reaches within 1 em of the strip
// (justified text, or a column's left edge). Of two strips over shared lines with no column of
// text between them (a ragged edge beside the real gutter), the one over more lines is kept.
// Obstacles (figure boxes) take part like lines without text: one that crosses a strip ends it.
// An em is the upper median over the lines of each line's first valid font size (10 points when
// there is none).

#include <span>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

struct Gutter {
  float x0 = 0;  // the free strip, left and right edge
  float x1 = 0;
  float bottom = 0;  // the stretch it separates: the union of its run's boxes
  float top = 0;
  float middle() const { return (x0 + x1) * 0.5f; }
  bool operator==(const Gutter&) const = default;
};

// Gutters ordered top to bottom, then left to right. Lines and characters with non-finite
// coordinates, and whitespace characters, are ignored.
std::vector<Gutter> find_gutters(std::span<const TextLine> lines, std::span<const PageChar> chars,
                                 std::span<const BBox> obstacles);

}  // namespace vorlin_geometry
