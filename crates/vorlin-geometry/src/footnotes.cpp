#include "vorlin_geometry/footnotes.h"

#include <algorithm>
#include <map>

#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {
namespace {

constexpr float kLowerHalf = 0.5f;

bool is_note_mark(char32_t ch) {
  switch (ch) {
    case U'*':
    case 0x2217:  // asterisk operator, TeX's \ast
    case 0x2020:  // dagger
    case 0x2021:  // double dagger
    case 0x00A7:  // section sign
    case 0x00B6:  // pilcrow
    case 0x2016:  // double vertical line, TeX's \|
      return true;
    default:
      return detail::is_ascii_digit(ch) || ch == 0x00B9 || ch == 0x00B2 || ch == 0x00B3 ||
             (ch >= 0x2070 && ch <= 0x2079);  // superscript digits
  }
}

}  // namespace

std::vector<bool> footnote_lines(std::span<const FootLine> lines, float body_size) {
  std::vector<bool> notes(lines.size(), false);
  if (!is_valid_size(body_size)) return notes;
  std::map<ColumnSlot, std::vector<std::size_t>> slots;
  for (std::size_t i = 0; i < lines.size(); ++i) slots[lines[i].slot].push_back(i);
  for (auto& [slot, members] : slots) {
    // Bottom up; NaN positions sort first and so end the run at once.
    std::stable_sort(members.begin(), members.end(), [&](std::size_t a, std::size_t b) {
      return float_less_nan_last(lines[a].box.y0, lines[b].box.y0);
    });
    std::size_t run = 0;
    while (run < members.size()) {
      const FootLine& line = lines[members[run]];
      if (!(line.font_size <= kFootnoteSizeRatio * body_size && line.box.y1 <= kLowerHalf)) break;
      ++run;
    }
    // The topmost small line must open a note; below it, each note opens with its own mark.
    if (run == 0) continue;
    const std::u32string_view top = trim_whitespace(lines[members[run - 1]].text);
    if (top.empty() || !is_note_mark(top.front())) continue;
    for (std::size_t k = 0; k < run; ++k) notes[members[k]] = true;
  }
  return notes;
}

}  // namespace vorlin_geometry
