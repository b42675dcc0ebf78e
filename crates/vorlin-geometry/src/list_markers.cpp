#include "vorlin_geometry/list_markers.h"

#include <algorithm>
#include <array>
#include <utility>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

namespace {

constexpr std::array<char32_t, 11> kPlainBullets = {
    0x2022, 0x25E6, 0x25AA, 0x2023, 0x25CF, 0x25CB, 0x25A0, 0x25A1, 0x25B8, 0x25BA, 0x2219,
};
constexpr std::array<char32_t, 3> kAmbiguousBullets = {0x2013, U'-', U'*'};
constexpr std::size_t kMaxNumberDigits = 3;
constexpr std::size_t kMaxRomanLetters = 6;
constexpr std::size_t kExaminedChars = 32;

bool is_small_roman(char32_t ch) { return ch == U'i' || ch == U'v' || ch == U'x'; }

// Length of an enumerator label at the start of `s`: up to three digits, one ASCII letter, or a
// small roman numeral; 0 when there is none.
std::size_t label_length(std::u32string_view s) {
  std::size_t digits = 0;
  while (digits < s.size() && detail::is_ascii_digit(s[digits])) ++digits;
  if (digits > 0) return digits <= kMaxNumberDigits ? digits : 0;
  std::size_t roman = 0;
  while (roman < s.size() && is_small_roman(s[roman])) ++roman;
  if (roman > 1) return roman <= kMaxRomanLetters ? roman : 0;
  return !s.empty() && detail::is_ascii_letter(s[0]) ? 1 : 0;
}

// Characters of the ".2.3" that follows a number in a multi-level enumerator ("1.2.3."), and how
// many levels it adds; only when a full stop or a parenthesis closes it, as "1.5 metres" has none.
std::pair<std::size_t, std::size_t> sublevels(std::u32string_view s) {
  std::size_t at = 0;
  std::size_t levels = 0;
  while (at + 1 < s.size() && s[at] == U'.' && detail::is_ascii_digit(s[at + 1])) {
    std::size_t digits = 0;
    while (at + 1 + digits < s.size() && detail::is_ascii_digit(s[at + 1 + digits])) ++digits;
    if (digits > kMaxNumberDigits) return {0, 0};
    at += 1 + digits;
    ++levels;
  }
  const bool closed = at < s.size() && (s[at] == U'.' || s[at] == U')');
  return closed ? std::pair{at, levels} : std::pair<std::size_t, std::size_t>{0, 0};
}

struct Enumerator {
  std::size_t length = 0;  // 0: none
  std::size_t sublevel = 0;
};

// The enumerator at the start of `s`, if any.
Enumerator enumerator(std::u32string_view s) {
  if (!s.empty() && s[0] == U'(') {
    const std::size_t label = label_length(s.substr(1));
    return {label > 0 && 1 + label < s.size() && s[1 + label] == U')' ? label + 2 : 0};
  }
  const std::size_t label = label_length(s);
  if (label == 0 || label >= s.size()) return {};
  if (s[label] == U')') return {label + 1};
  // "a." and "iv." read as initials and abbreviations too often; only numbers take a full stop.
  if (!detail::is_ascii_digit(s[0])) return {};
  const auto [extra, levels] = sublevels(s.substr(label));
  if (levels > 0) return {label + extra + 1, levels};
  return {s[label] == U'.' ? label + 1 : 0};
}

}  // namespace

bool is_bullet_glyph(char32_t ch) {
  return std::ranges::find(kPlainBullets, ch) != kPlainBullets.end() ||
         std::ranges::find(kAmbiguousBullets, ch) != kAmbiguousBullets.end();
}

std::optional<ListMarker> list_marker(std::u32string_view line) {
  // A marker and the start of its text fit in a short prefix.
  const std::u32string_view text = line.substr(0, kExaminedChars);
  std::size_t start = 0;
  while (start < text.size() && is_whitespace(text[start])) ++start;
  const std::u32string_view rest = text.substr(start);
  if (rest.empty()) return std::nullopt;

  ListMarker marker;
  std::size_t length = 0;
  bool needs_space = true;
  if (std::ranges::find(kPlainBullets, rest[0]) != kPlainBullets.end()) {
    length = 1;
    marker = {0, true, true};
    needs_space = false;
  } else if (std::ranges::find(kAmbiguousBullets, rest[0]) != kAmbiguousBullets.end()) {
    length = 1;
    marker = {0, true, false};
  } else {
    const Enumerator found = enumerator(rest);
    length = found.length;
    if (length == 0) return std::nullopt;
    marker = {0, false, false, found.sublevel};
  }
  std::size_t after = length;
  while (after < rest.size() && is_whitespace(rest[after])) ++after;
  if (after == rest.size()) return std::nullopt;  // a marker with no item text
  if (needs_space && after == length) return std::nullopt;
  marker.length = start + after;
  return marker;
}

}  // namespace vorlin_geometry
