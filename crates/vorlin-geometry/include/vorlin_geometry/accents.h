#pragma once
// Accents set as separate glyphs over or under a letter (TeX's OT1 fonts build "ó" from "´" and
// "o") as the precomposed letter, so words are not cut at the accent.

#include <span>
#include <vector>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// Whether `ch` is a spacing accent this pass can fold into a letter.
bool is_spacing_accent(char32_t ch);

// A copy of `chars` in which each spacing accent whose horizontal centre lies over a letter next
// to it (in character order) and that forms a precomposed letter with it is folded into that
// letter, which keeps its own box. An accent no neighbour takes goes to the nearest such letter
// anywhere whose box shares at least half the accent's height. Every other character is copied
// unchanged.
std::vector<PageChar> fold_accents(std::span<const PageChar> chars);

}  // namespace vorlin_geometry
