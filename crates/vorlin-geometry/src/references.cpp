#include "vorlin_geometry/references.h"

#include <algorithm>
#include <array>

#include "vorlin_geometry/primitives.h"
#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {

namespace {

// Bibliography headings in the languages of most papers, in lower case.
constexpr std::array<std::u32string_view, 15> kReferenceHeadings = {
    U"references",        U"reference list",       U"bibliography",
    U"literature",        U"literature cited",     U"works cited",
    U"literatur",         U"literaturverzeichnis", U"quellen",
    U"bibliographie",     U"r\u00e9f\u00e9rences", U"referencias",
    U"bibliograf\u00eda", U"bibliografia",         U"refer\u00eancias",
};

// The length of a "[n]" label at the start of `text`, or 0.
std::size_t label_length(std::u32string_view text) {
  if (text.size() < 3 || text[0] != U'[') return 0;
  std::size_t end = 1;
  while (end < text.size() && detail::is_ascii_digit(text[end])) ++end;
  return end > 1 && end < text.size() && text[end] == U']' ? end + 1 : 0;
}

// Whether a label after `before` (its line so far) opens another entry: an entry ends a sentence,
// whereas a citation inside one ("as in [2]") does not follow a full stop.
bool follows_sentence(std::u32string_view before) {
  const std::u32string_view trimmed = trim_whitespace(before);
  return !trimmed.empty() && trimmed.size() < before.size() && trimmed.back() == U'.';
}

// Lower case for the letters those names are written in (ASCII and Latin-1).
char32_t latin_lower(char32_t ch) {
  const bool upper = (ch >= U'A' && ch <= U'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7);
  return upper ? ch + 0x20 : ch;
}

void add_entry(std::vector<std::u32string>& entries, std::u32string_view text) {
  const std::u32string_view entry = trim_whitespace(text);
  if (!entry.empty()) entries.emplace_back(entry);
}

}  // namespace

bool is_reference_heading(std::u32string_view text) {
  std::u32string_view name = trim_whitespace(text);
  const auto number = std::ranges::find_if_not(
      name, [](char32_t ch) { return detail::is_ascii_digit(ch) || ch == U'.'; });
  const std::u32string_view label = name.substr(0, static_cast<std::size_t>(number - name.begin()));
  // A subsection ("5.12 References") describes references; a bibliography is a section.
  const std::size_t dot = label.find(U'.');
  if (dot != std::u32string_view::npos && dot + 1 < label.size()) return false;
  name = trim_whitespace(name.substr(label.size()));
  if (name.ends_with(U':')) name.remove_suffix(1);
  std::u32string lower;
  for (char32_t ch : name) lower.push_back(latin_lower(ch));
  return std::ranges::find(kReferenceHeadings, lower) != kReferenceHeadings.end();
}

std::vector<std::u32string> reference_entries(std::u32string_view text) {
  std::vector<std::u32string> entries;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const bool line_end = i == text.size() || text[i] == U'\n';
    const bool label = !line_end && label_length(text.substr(i)) > 0 &&
                       follows_sentence(text.substr(start, i - start));
    if (!line_end && !label) continue;
    add_entry(entries, text.substr(start, i - start));
    start = line_end ? i + 1 : i;
  }
  return entries;
}

}  // namespace vorlin_geometry
