#include "vorlin_core/render/white_space.h"

#include <unicode/utf8.h>

#include <cstdint>

#include "vorlin_geometry/primitives.h"

namespace vorlin_core {
namespace {

const std::uint8_t* bytes_of(std::string_view text) {
  return reinterpret_cast<const std::uint8_t*>(text.data());
}

// ASCII answers without a property lookup; ill-formed input (ch < 0) is not white space.
bool is_white_space(UChar32 ch) {
  if (ch < 0x80) return ch == ' ' || (ch >= '\t' && ch <= '\r');
  return vorlin_geometry::is_whitespace(static_cast<char32_t>(ch));
}

// The character that ends at `end`, if `end` closes a well-formed sequence starting at or after
// `start`; a negative value otherwise.
UChar32 char_before(const std::uint8_t* bytes, std::int64_t start, std::int64_t end,
                    std::int64_t& char_start) {
  char_start = end - 1;
  // A sequence has at most three continuation bytes.
  while (char_start > start && end - char_start < 4 && U8_IS_TRAIL(bytes[char_start])) {
    --char_start;
  }
  std::int64_t next = char_start;
  UChar32 ch = 0;
  U8_NEXT(bytes, next, end, ch);
  return next == end ? ch : -1;
}

// Position just past the leading white space.
std::int64_t skip_leading(std::string_view text) {
  const std::uint8_t* bytes = bytes_of(text);
  const auto length = static_cast<std::int64_t>(text.size());
  std::int64_t i = 0;
  while (i < length) {
    std::int64_t next = i;
    UChar32 ch = 0;
    U8_NEXT(bytes, next, length, ch);
    if (!is_white_space(ch)) break;
    i = next;
  }
  return i;
}

// Position of the end once trailing white space is removed, never before `start`.
std::int64_t skip_trailing(std::string_view text, std::int64_t start) {
  const std::uint8_t* bytes = bytes_of(text);
  auto end = static_cast<std::int64_t>(text.size());
  while (end > start) {
    std::int64_t char_start = 0;
    if (!is_white_space(char_before(bytes, start, end, char_start))) break;
    end = char_start;
  }
  return end;
}

}  // namespace

std::string_view trim_white_space(std::string_view text) {
  const std::int64_t begin = skip_leading(text);
  const std::int64_t end = skip_trailing(text, begin);
  return text.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

std::string_view trim_white_space_end(std::string_view text) {
  return text.substr(0, static_cast<std::size_t>(skip_trailing(text, 0)));
}

std::size_t count_words(std::string_view text) {
  const std::uint8_t* bytes = bytes_of(text);
  const auto length = static_cast<std::int64_t>(text.size());
  std::size_t words = 0;
  bool in_word = false;
  for (std::int64_t i = 0; i < length;) {
    UChar32 ch = 0;
    U8_NEXT(bytes, i, length, ch);
    const bool white = is_white_space(ch);
    if (!white && !in_word) ++words;
    in_word = !white;
  }
  return words;
}

}  // namespace vorlin_core
