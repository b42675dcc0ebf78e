#pragma once
// The text of a line set in a fixed-pitch font, with its spaces recovered from positions: program
// text aligns by columns, and typesetters (TeX above all) draw no space glyphs for them.

#include <span>
#include <string>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

// The character width of a program line: the median box width of its fixed-pitch, non-space
// members. 0 when it has none (or only boxes of no valid width), or when under kProgramShare of
// its letters are fixed-pitch: prose with code words in it is still prose, while a line number
// or a mark in another face leaves program text program text.
float fixed_pitch(const TextLine& line, std::span<const PageChar> chars);

// Each visible member at the column its distance from the line box's left edge makes in `pitch`
// widths, padded with spaces; a member that would overlap the one before follows it directly,
// with one space when a word break (word_line.h) parts them.
// Space glyphs are dropped, their columns being recovered the same way. A pitch that is not
// positive gives the members with no spaces at all.
std::u32string fixed_pitch_text(const TextLine& line, std::span<const PageChar> chars, float pitch);

}  // namespace vorlin_geometry
