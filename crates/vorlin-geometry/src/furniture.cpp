#include "vorlin_geometry/furniture.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

#include "vorlin_geometry/paragraph.h"

namespace vorlin_geometry {

namespace {

constexpr float kBandShare = 0.1f;
constexpr float kOuterBandShare = 0.15f;
constexpr std::size_t kMinRecurringPages = 3;
// A line repeated word for word in one place needs only this share of the pages: a thesis prints
// its running title on the blank backs of its chapters and few other pages.
constexpr std::size_t kInPlacePageShare = 4;  // one page in four
constexpr float kSamePlace = 0.005f;           // of the page height, between two lines' centres
constexpr std::size_t kMaxPageDigits = 4;
constexpr int kMaxRomanPage = 399;  // front matter is never longer; "mix" or "CD" are words
// A running line repeats at one size; a copy set this much larger is the title it echoes.
constexpr float kEchoedTitleRatio = 1.2f;

bool is_dash(char32_t ch) { return ch == U'-' || ch == 0x2013 || ch == 0x2014; }

// A cursor over a collapsed text; each `take` consumes on success only.
struct Cursor {
  std::u32string_view rest;

  bool take(char32_t ch) {
    if (rest.empty() || rest.front() != ch) return false;
    rest.remove_prefix(1);
    return true;
  }
  bool take(std::u32string_view word) {
    if (!rest.starts_with(word)) return false;
    rest.remove_prefix(word.size());
    return true;
  }
  bool take_dash() {
    if (rest.empty() || !is_dash(rest.front())) return false;
    rest.remove_prefix(1);
    return true;
  }
  bool take_number() {
    std::size_t digits = 0;
    while (digits < rest.size() && detail::is_ascii_digit(rest[digits])) ++digits;
    if (digits == 0 || digits > kMaxPageDigits) return false;
    rest.remove_prefix(digits);
    return true;
  }
  bool done() const { return rest.empty(); }
};

// "3", "- 3 -", "-3", "3 -" (any of the three dashes).
bool is_bare_number(std::u32string_view text) {
  Cursor c{text};
  if (c.take_dash()) c.take(U' ');
  if (!c.take_number()) return false;
  if (c.done()) return true;
  c.take(U' ');
  return c.take_dash() && c.done();
}

// " of 9" or " / 9", with the spaces optional.
bool take_total(Cursor& c) {
  c.take(U' ');
  if (!c.take(U'/') && !c.take(U"of")) return false;
  c.take(U' ');
  return c.take_number();
}

// "Page 3", "Page 3 of 9", "page 3 / 9", "PAGE 3".
bool is_labelled_number(std::u32string_view text) {
  Cursor c{text};
  if (!c.take(U"Page ") && !c.take(U"page ") && !c.take(U"PAGE ")) return false;
  if (!c.take_number()) return false;
  return c.done() || (take_total(c) && c.done());
}

// "3 / 9", "3 of 9".
bool is_number_of_total(std::u32string_view text) {
  Cursor c{text};
  return c.take_number() && take_total(c) && c.done();
}

int roman_digit(char32_t ch) {
  switch (ch) {
    case U'i':
    case U'I':
      return 1;
    case U'v':
    case U'V':
      return 5;
    case U'x':
    case U'X':
      return 10;
    case U'l':
    case U'L':
      return 50;
    case U'c':
    case U'C':
      return 100;
    default:
      return 0;
  }
}

std::u32string roman_text(int value, bool upper) {
  static constexpr std::pair<int, std::u32string_view> kParts[] = {
      {100, U"c"}, {90, U"xc"}, {50, U"l"}, {40, U"xl"}, {10, U"x"},
      {9, U"ix"},  {5, U"v"},   {4, U"iv"}, {1, U"i"}};
  std::u32string text;
  for (const auto& [part, letters] : kParts) {
    for (; value >= part; value -= part) text += letters;
  }
  if (upper) {
    for (char32_t& ch : text) ch = ch - U'a' + U'A';
  }
  return text;
}

// A roman numeral up to 399 in its one canonical spelling, all small or all capital letters.
bool is_roman_numeral(std::u32string_view text) {
  if (text.empty()) return false;
  int value = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int digit = roman_digit(text[i]);
    if (digit == 0) return false;
    const int next = i + 1 < text.size() ? roman_digit(text[i + 1]) : 0;
    value += digit < next ? -digit : digit;
  }
  if (value <= 0 || value > kMaxRomanPage) return false;
  const bool upper = text[0] >= U'A' && text[0] <= U'Z';
  return text == roman_text(value, upper);
}

}  // namespace

Band band_of(const BBox& line, const BBox& page) {
  const float height = page.height();
  if (!(height > 0)) return Band::None;
  if (line.y0 >= page.y1 - kBandShare * height) return Band::Top;
  if (line.y1 <= page.y0 + kBandShare * height) return Band::Bottom;
  return Band::None;
}

Band outer_band(const BBox& line, const BBox& page, bool topmost, bool bottommost) {
  const Band band = band_of(line, page);
  const float height = page.height();
  if (band != Band::None || !(height > 0)) return band;
  if (topmost && line.y0 >= page.y1 - kOuterBandShare * height) return Band::Top;
  if (bottommost && line.y1 <= page.y0 + kOuterBandShare * height) return Band::Bottom;
  return Band::None;
}

bool is_page_number_text(std::u32string_view text) {
  const std::u32string clean = collapse_whitespace(text);
  return is_bare_number(clean) || is_labelled_number(clean) || is_number_of_total(clean) ||
         is_roman_numeral(clean);
}

std::u32string furniture_key(std::u32string_view text) {
  const std::u32string clean = collapse_whitespace(text);
  std::u32string key;
  key.reserve(clean.size());
  for (std::size_t i = 0; i < clean.size(); ++i) {
    if (!detail::is_ascii_digit(clean[i])) {
      key.push_back(clean[i]);
    } else if (i == 0 || !detail::is_ascii_digit(clean[i - 1])) {
      key.push_back(U'#');
    }
  }
  return key;
}

std::vector<std::vector<FurnitureRole>> classify_furniture(
    std::span<const std::vector<BandLine>> pages) {
  // The pages on which each (band, key) occurs, and where each (band, text) stands on them.
  std::map<std::pair<Band, std::u32string>, std::set<std::size_t>> seen;
  std::map<std::pair<Band, std::u32string>, std::vector<std::pair<std::size_t, float>>> placed;
  std::map<std::pair<Band, std::u32string>, float> smallest;  // each (band, key)'s smallest size
  std::vector<std::vector<std::u32string>> keys(pages.size());
  for (std::size_t page = 0; page < pages.size(); ++page) {
    for (const BandLine& line : pages[page]) {
      std::u32string key;
      if (line.band != Band::None && !is_page_number_text(line.text)) {
        key = furniture_key(line.text);
        if (!key.empty()) {
          seen[{line.band, key}].insert(page);
          const auto [size, fresh] = smallest.try_emplace({line.band, key}, line.size);
          if (!fresh) size->second = std::min(size->second, line.size);
          placed[{line.band, collapse_whitespace(line.text)}].emplace_back(page, line.position);
        }
      }
      keys[page].push_back(std::move(key));
    }
  }
  const auto recurs = [&](Band band, const std::u32string& key) {
    const auto found = seen.find({band, key});
    if (found == seen.end()) return false;
    const std::size_t count = found->second.size();
    return count >= kMinRecurringPages && 2 * count >= pages.size();
  };
  // Written so that a NaN position recurs nowhere.
  const auto recurs_in_place = [&](const BandLine& line) {
    const auto found = placed.find({line.band, collapse_whitespace(line.text)});
    if (found == placed.end()) return false;
    std::set<std::size_t> pages_there;
    for (const auto& [page, position] : found->second) {
      if (std::fabs(position - line.position) <= kSamePlace) pages_there.insert(page);
    }
    const std::size_t count = pages_there.size();
    return count >= kMinRecurringPages && kInPlacePageShare * count >= pages.size();
  };

  std::vector<std::vector<FurnitureRole>> roles(pages.size());
  for (std::size_t page = 0; page < pages.size(); ++page) {
    for (std::size_t i = 0; i < pages[page].size(); ++i) {
      const BandLine& line = pages[page][i];
      FurnitureRole role = FurnitureRole::Content;
      if (line.band != Band::None && is_page_number_text(line.text)) {
        role = FurnitureRole::PageNumber;
      } else if (line.band != Band::None && !keys[page][i].empty() &&
                 !(line.size > kEchoedTitleRatio * smallest.at({line.band, keys[page][i]})) &&
                 (recurs(line.band, keys[page][i]) || recurs_in_place(line))) {
        role = line.band == Band::Top ? FurnitureRole::Header : FurnitureRole::Footer;
      }
      roles[page].push_back(role);
    }
  }
  return roles;
}

}  // namespace vorlin_geometry
