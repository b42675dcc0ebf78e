#include "vorlin_geometry/outline_headings.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "vorlin_geometry/primitives.h"
#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {
namespace {

// Letters and digits of a key a line must contribute before a run may start with it: a stray
// "1" or "A" must not begin a title it merely shares a character with.
constexpr std::size_t kMinRunStart = 3;
// Lines a title may wrap over.
constexpr std::size_t kMaxRunLines = 3;

// "3", "2.1", "A.1", "IV.": dotted parts of digits, roman numerals or a single letter.
bool is_numbering(std::u32string_view word) {
  if (!word.empty() && word.back() == U'.') word.remove_suffix(1);
  if (word.empty()) return false;
  for (std::size_t start = 0; start <= word.size();) {
    const std::size_t dot = std::min(word.find(U'.', start), word.size());
    const std::u32string_view part = word.substr(start, dot - start);
    const bool letter = part.size() == 1 && is_alphabetic(part[0]);
    const bool number = !part.empty() && std::ranges::all_of(part, [](char32_t ch) {
      return (ch >= U'0' && ch <= U'9') ||
             std::u32string_view(U"IVXLCivxlc").find(ch) != std::u32string_view::npos;
    });
    if (!letter && !number) return false;
    start = dot + 1;
  }
  return true;
}

// The letters and digits of `text` in lower case; without its leading number when `bare`.
std::u32string key_of(std::u32string_view text, bool bare) {
  std::u32string_view t = trim_whitespace(text);
  if (bare) {
    const std::size_t space = t.find(U' ');
    if (space != std::u32string_view::npos && is_numbering(t.substr(0, space))) {
      t.remove_prefix(space + 1);
    }
  }
  std::u32string key;
  for (char32_t ch : t) {
    if (is_alphanumeric(ch)) key.push_back(ch >= U'A' && ch <= U'Z' ? ch + 32 : ch);
  }
  return key;
}

// How many lines from `first` (all on its page) spell `title` with or without numbers; 0 if none.
std::size_t run_spelling(std::span<const OutlineLine> lines, std::size_t first,
                         const std::u32string& title, const std::u32string& bare_title) {
  for (bool bare : {false, true}) {
    const std::u32string& want = bare ? bare_title : title;
    if (want.empty()) continue;
    std::u32string got = key_of(lines[first].text, bare);
    if (got.size() < std::min(kMinRunStart, want.size())) continue;
    // A heading may name its division where the outline does not: "Appendix A Copying".
    if (lines[first].heading && want.size() >= kMinRunStart && got.ends_with(want)) return 1;
    for (std::size_t n = 1; n <= kMaxRunLines; ++n) {
      if (got == want) return n;
      const std::size_t next = first + n;
      if (!want.starts_with(got) || next >= lines.size() || lines[next].page != lines[first].page) {
        break;
      }
      got += key_of(lines[next].text, false);
    }
  }
  return 0;
}

}  // namespace

std::vector<std::optional<std::uint8_t>> outline_levels(std::span<const OutlineLine> lines,
                                                        std::span<const OutlineEntry> entries) {
  std::vector<std::optional<std::uint8_t>> levels(lines.size());
  // Lines are grouped by page, pages in order: where each page's lines begin.
  const auto page_start = [&](std::size_t page) {
    return std::ranges::partition_point(lines, [page](const OutlineLine& l) {
             return l.page < page;
           }) - lines.begin();
  };
  for (const OutlineEntry& entry : entries) {
    const std::u32string title = key_of(entry.title, false);
    const std::u32string bare_title = key_of(entry.title, true);
    for (std::size_t page : {entry.page, entry.page + 1}) {
      std::size_t best = lines.size(), best_run = 0;
      float best_distance = INFINITY;
      for (std::size_t i = page_start(page); i < lines.size() && lines[i].page == page; ++i) {
        if (levels[i]) continue;
        const std::size_t run = run_spelling(lines, i, title, bare_title);
        if (run == 0) continue;
        // Without a target height the first match wins; NaN distances never replace one.
        const float distance = entry.y ? std::fabs(lines[i].top - *entry.y) : 0.0f;
        if (best == lines.size() || distance < best_distance) {
          std::tie(best, best_run, best_distance) = std::tuple(i, run, distance);
        }
      }
      if (best == lines.size()) continue;
      for (std::size_t k = best; k < best + best_run; ++k) levels[k] = entry.level;
      break;
    }
  }
  return levels;
}

}  // namespace vorlin_geometry
