#pragma once
// List item markers at the start of a line: a bullet glyph (• ◦ ▪ ‣ ● ○ ■ □ ▸ ► ∙ and the
// ambiguous – - *) or an enumerator ("1.", "2)", "a)", "(iv)", "(A)", "1.2.").

#include <cstddef>
#include <optional>
#include <string_view>

namespace vorlin_geometry {

struct ListMarker {
  std::size_t length = 0;  // characters of the marker and the whitespace after it
  bool is_bullet = false;  // a glyph that carries no text of its own, rather than an enumerator
  // A glyph that only ever marks an item. A dash, an asterisk or an enumerator may also start a
  // wrapped line of prose, so a lone one is not taken for a list.
  bool unambiguous = false;
  std::size_t sublevel = 0;  // levels a multi-level number adds: 1 for "1.2.", 2 for "1.2.3."
};

bool is_bullet_glyph(char32_t ch);

// The marker that starts `line` (leading whitespace allowed), when an item's text follows it.
// Dashes, asterisks and enumerators need whitespace after them; the other glyphs do not.
std::optional<ListMarker> list_marker(std::u32string_view line);

}  // namespace vorlin_geometry
