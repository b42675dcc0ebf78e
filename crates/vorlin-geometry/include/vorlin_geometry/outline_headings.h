#pragma once
// Headings named by the document's own outline (its bookmarks): each entry is matched to the
// content line, or the run of consecutive lines, on its target page (or the next, where anchors
// sit just before a page break) whose letters and digits spell its title, with or without the
// leading section number (a line already taken for a heading may also lead with more words, as
// in "Chapter 3 Title"). An entry that matches no line names nothing; where an entry matches
// several lines, the one nearest its target's height wins.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorlin_geometry {

struct OutlineEntry {
  std::uint8_t level = 1;  // 1 for the top entries
  std::u32string_view title;
  std::size_t page = 0;
  std::optional<float> y;  // the top of the target on its page, in the lines' frame
};

// One content line, in reading order within each page, pages in order.
struct OutlineLine {
  std::u32string_view text;
  std::size_t page = 0;
  float top = 0;
  bool heading = false;  // a heading by type size or emphasis
};

// Per line, the outline level of the entry it spells (every line of a run alike), or nullopt.
std::vector<std::optional<std::uint8_t>> outline_levels(std::span<const OutlineLine> lines,
                                                        std::span<const OutlineEntry> entries);

}  // namespace vorlin_geometry
