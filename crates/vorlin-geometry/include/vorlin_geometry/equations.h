#pragma once
// Display equations: a formula set apart on its own lines, its number at the column's right edge.

#include <span>
#include <string_view>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// An equation number: "(12)", "(3.4)", "(2a)".
bool is_equation_number(std::u32string_view word);

// Whether the line ends in an equation number set off from the formula before it by at least
// kNumberGapEms of its type size: a number in running text ("see (2)") follows a word space.
// A line with more such words (`text`, its words) is a table's row of labels, not a formula.
bool ends_in_equation_number(const TextLine& line, std::span<const PageChar> chars,
                             std::u32string_view text);

}  // namespace vorlin_geometry
