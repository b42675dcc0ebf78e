#pragma once
// Running text from the lines of one block, mending words that a line end broke. A line ending in
// a letter and a hyphen (U+002D or U+2010) whose next line starts with a lowercase letter is joined
// without the hyphen; before an uppercase letter or a digit the hyphen is a real one ("COVID-19",
// "Franco-German") and stays, the halves joined without a space. A soft hyphen (U+00AD) ending a
// line only ever marks a break: it is dropped and the halves joined. Every other line boundary is
// one U+0020.

#include <span>
#include <string>
#include <string_view>

namespace vorlin_geometry {

std::u32string join_block_lines(std::span<const std::u32string_view> lines);

}  // namespace vorlin_geometry
