#pragma once
// Typographic ligature glyphs (U+FB00-U+FB06) as the letters they stand for. A ligature becomes one
// character per letter, each taking an equal slice of the glyph's box, so every later pass sees
// ordinary letters.

#include <span>
#include <string_view>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// The letters of a ligature glyph ("ffi" for U+FB03); empty when `ch` is not one.
std::u32string_view ligature_letters(char32_t ch);

// A copy of `chars` with every ligature expanded in place; other characters are copied unchanged.
std::vector<PageChar> expand_ligatures(std::span<const PageChar> chars);

}  // namespace vorlin_geometry
