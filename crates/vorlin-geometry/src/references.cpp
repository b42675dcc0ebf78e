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

constexpr std::size_t kMaxLabelDigits = 4;
constexpr std::size_t kYearDigits = 4;
constexpr unsigned kFirstYear = 1500;
constexpr unsigned kLastYear = 2099;

// The number of the digits that open `text` and end where `close` does, with how far that is.
std::optional<std::pair<unsigned, std::size_t>> number_closed_by(std::u32string_view text,
                                                                 char32_t close) {
  std::size_t end = 0;
  unsigned number = 0;
  while (end < text.size() && end <= kMaxLabelDigits && detail::is_ascii_digit(text[end])) {
    number = number * 10 + static_cast<unsigned>(text[end++] - U'0');
  }
  if (end == 0 || end > kMaxLabelDigits || end >= text.size() || text[end] != close) {
    return std::nullopt;
  }
  return std::pair{number, end + 1};
}

// The number of a "[n]" label at the start of `text`, with the label's length.
std::optional<std::pair<unsigned, std::size_t>> bracket_label(std::u32string_view text) {
  if (text.empty() || text[0] != U'[') return std::nullopt;
  const auto label = number_closed_by(text.substr(1), U']');
  return label ? std::optional{std::pair{label->first, label->second + 1}} : std::nullopt;
}

bool cites_year(std::u32string_view text) {
  std::size_t run = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && detail::is_ascii_digit(text[i])) {
      ++run;
      continue;
    }
    if (run == kYearDigits) {
      unsigned year = 0;
      for (char32_t ch : text.substr(i - run, run)) year = year * 10 + (ch - U'0');
      if (year >= kFirstYear && year <= kLastYear) return true;
    }
    run = 0;
  }
  return false;
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
    bool label = false;
    const auto found = line_end || i == start ? std::nullopt : bracket_label(text.substr(i));
    if (found) {
      // An entry that ends without a full stop still gives way to the next number.
      const std::optional<unsigned> current = entry_number(trim_whitespace(text.substr(start)));
      label = follows_sentence(text.substr(start, i - start)) ||
              (current && found->first == *current + 1);
    }
    if (!line_end && !label) continue;
    add_entry(entries, text.substr(start, i - start));
    start = line_end ? i + 1 : i;
  }
  return entries;
}

std::optional<unsigned> entry_number(std::u32string_view entry) {
  if (const auto label = bracket_label(entry)) return label->first;
  const auto label = number_closed_by(entry, U'.');
  const bool spaced = label && label->second < entry.size() && is_whitespace(entry[label->second]);
  return spaced ? std::optional{label->first} : std::nullopt;
}

bool is_numbered_bibliography(std::span<const std::u32string> entries) {
  std::size_t years = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entry_number(entries[i]) != i + 1) return false;
    years += cites_year(entries[i]) ? 1 : 0;
  }
  return entries.size() >= 2 && 2 * years >= entries.size();
}

}  // namespace vorlin_geometry
