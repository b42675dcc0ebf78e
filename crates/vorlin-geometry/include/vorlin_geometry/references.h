#pragma once
// Bibliographies: the headings that open one, and the entries of a block set under such a heading.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorlin_geometry {

// Whether a heading names a bibliography ("References", "7 Bibliography", "Literatur:", ...):
// letter case, a leading section number and a trailing colon do not matter, but a subsection's
// ("5.12 References") is not one.
bool is_reference_heading(std::u32string_view text);

// The entries of a bibliography block's text: one a line, and a line split again before each
// "[n]" label that follows a full stop and whitespace or that numbers the next entry; entries are
// trimmed, empty ones left out.
std::vector<std::u32string> reference_entries(std::u32string_view text);

// The number of the "[n]" or "n." label that opens an entry, if any.
std::optional<unsigned> entry_number(std::u32string_view entry);

// Whether entries read as a bibliography set without a heading: at least two, numbered 1, 2, 3...
// in order, and at least half of them citing a year (notes numbered the same way cite none).
bool is_numbered_bibliography(std::span<const std::u32string> entries);

}  // namespace vorlin_geometry
