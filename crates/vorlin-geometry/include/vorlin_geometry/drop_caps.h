#pragma once
// Drop caps: a paragraph's first letter set large beside its first lines. Its box spans those
// lines and reaches below them, so line grouping would put it in whichever line its bottom edge
// meets, inside a word ("s T ystems"). Seated on the first line beside it, it reads as that
// line's first letter.

#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// `chars`, each letter at least 2.5 times the size of the text beginning within two of that
// text's sizes to its right, on at least two lines within its height, given the box's vertical
// extent and the font size of the top one of those characters; all else unchanged. Takes the
// characters by value: most pages have no drop cap and pass through moved, not copied.
std::vector<PageChar> seat_drop_caps(std::vector<PageChar> chars);

}  // namespace vorlin_geometry
