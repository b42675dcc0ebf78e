#pragma once
// Records exchanged by the page geometry passes and the numeric rules they share. Lines and words
// hold positions into one page character list; a position outside that list is a broken invariant
// and `char_at` throws std::out_of_range rather than reading past the end.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "vorlin_geometry/bbox.h"

namespace vorlin_geometry {

// One positioned character; `font_size` may be zero, negative, NaN or infinite when unknown.
// The fields after it are what the backend saw beyond the box; the defaults mean upright text in
// a plain face with no word break noted.
struct PageChar {
  char32_t ch = 0;
  BBox bbox;
  float font_size = 0;
  float angle = 0;            // baseline direction, degrees counterclockwise
  std::uint32_t font_id = 0;  // equal for characters of one font; 0 unknown
  bool bold = false;
  bool italic = false;
  bool monospace = false;
  bool small_caps = false;
  bool space_before = false;     // a word boundary just before it
  bool hyphen_after = false;     // followed by a hyphen that only splits a word at the line end
  bool line_end_hyphen = false;  // that hyphen
  bool math = false;             // from a face that sets formulas
};

// Positions are never empty and, once grouped, run left to right.
struct TextLine {
  std::vector<std::size_t> char_indices;
  BBox bbox;
  float mean_y0 = 0;  // running mean of the members' y0
};

// Positions in line order; `text` is their characters concatenated, whitespace included.
struct Word {
  std::vector<std::size_t> char_indices;
  std::string text;
  BBox bbox;
};

// A paragraph, or a heading of exactly one line. `heading_level` (1-6) means nothing for a
// paragraph.
struct Block {
  std::vector<TextLine> lines;
  BBox bbox;
  bool is_heading = false;
  std::uint8_t heading_level = 0;
};

// Heading detection's verdict on one line.
struct LineRole {
  bool is_heading = false;
  std::uint8_t level = 0;  // 1-6 for a heading, 0 for body

  static LineRole body() { return {}; }
  static LineRole heading(std::uint8_t level) { return {true, level}; }
  bool operator==(const LineRole&) const = default;
};

namespace detail {
[[noreturn]] void throw_position_out_of_range(std::size_t position, std::size_t size);
}  // namespace detail

// The character at `position`; throws std::out_of_range when the position is not in the list.
inline const PageChar& char_at(std::span<const PageChar> chars, std::size_t position) {
  if (position >= chars.size()) detail::throw_position_out_of_range(position, chars.size());
  return chars[position];
}

// (y - page.y0) / page height; callers check that the height is positive first.
float relative_height(float y, const BBox& page);

// Finite and strictly positive (positive subnormals included).
inline bool is_valid_size(float value) { return std::isfinite(value) && value > 0.0f; }

// Element floor(n/2) of the ascending order: the larger middle value for an even count.
// Empty input has no median; each caller picks its own default.
std::optional<float> upper_median(std::span<const float> values);

// The character tests as ICU answers them (vorlin_geometry/unicode.h); any char32_t may be
// asked (non-code points are false).
bool icu_is_whitespace(char32_t ch);
bool icu_is_alphabetic(char32_t ch);
bool icu_is_alphanumeric(char32_t ch);

// Most page text is ASCII, where a property lookup costs more than the rest of a pass; the
// shortcuts agree with ICU on every ASCII value.
namespace detail {
inline bool is_ascii_letter(char32_t ch) { return (ch | 0x20) >= U'a' && (ch | 0x20) <= U'z'; }
inline bool is_ascii_digit(char32_t ch) { return ch >= U'0' && ch <= U'9'; }
}  // namespace detail

// Unicode White_Space.
inline bool is_whitespace(char32_t ch) {
  if (ch < 0x80) return ch == U' ' || (ch >= U'\t' && ch <= U'\r');
  return icu_is_whitespace(ch);
}

// Unicode Alphabetic.
inline bool is_alphabetic(char32_t ch) {
  return ch < 0x80 ? detail::is_ascii_letter(ch) : icu_is_alphabetic(ch);
}

// Alphabetic, or general category Nd, Nl or No.
inline bool is_alphanumeric(char32_t ch) {
  if (ch < 0x80) return detail::is_ascii_letter(ch) || detail::is_ascii_digit(ch);
  return icu_is_alphanumeric(ch);
}

// A CJK unified ideograph (the main block, extension A, the compatibility block or the
// supplementary planes' extensions): text written in them puts no spaces between words.
inline bool is_ideograph(char32_t ch) {
  return (ch >= 0x4E00 && ch <= 0x9FFF) || (ch >= 0x3400 && ch <= 0x4DBF) ||
         (ch >= 0xF900 && ch <= 0xFAFF) || (ch >= 0x20000 && ch <= 0x2FFFF);
}

// Strict weak orderings over float keys that keep IEEE order for numbers and put NaN keys after
// every number (equal among themselves), so sorts stay defined whatever a backend delivers.
inline bool float_less_nan_last(float a, float b) {
  if (std::isnan(a)) return false;
  if (std::isnan(b)) return true;
  return a < b;
}
inline bool float_greater_nan_last(float a, float b) {
  if (std::isnan(a)) return false;
  if (std::isnan(b)) return true;
  return a > b;
}

enum class SortOrder { Ascending, Descending };

namespace detail {
// Stable sort of (key, position) pairs by key in `order`, NaN keys last.
void stable_sort_keyed(std::vector<std::pair<float, std::size_t>>& keyed, SortOrder order);
}  // namespace detail

// Stable sort of `positions` by `key_of(position)` (a float), NaN keys last. Keys are read once
// each so the sort moves small pairs instead of chasing positions through the character list.
template <class KeyOf>
void stable_sort_by_float_key(std::vector<std::size_t>& positions, KeyOf key_of, SortOrder order) {
  std::vector<std::pair<float, std::size_t>> keyed;
  keyed.reserve(positions.size());
  for (std::size_t p : positions) keyed.emplace_back(key_of(p), p);
  detail::stable_sort_keyed(keyed, order);
  for (std::size_t i = 0; i < keyed.size(); ++i) positions[i] = keyed[i].second;
}

}  // namespace vorlin_geometry
