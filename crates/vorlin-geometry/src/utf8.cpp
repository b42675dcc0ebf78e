#include "vorlin_geometry/utf8.h"

#include <unicode/utf8.h>

#include <cstdint>

#include "vorlin_geometry/primitives.h"

namespace vorlin_geometry {

void detail::append_utf8_multibyte(std::string& out, char32_t ch) {
  ch = scalar_or_replacement(ch);
  char buffer[U8_MAX_LENGTH];
  std::int32_t length = 0;
  U8_APPEND_UNSAFE(buffer, length, static_cast<UChar32>(ch));
  out.append(buffer, static_cast<std::size_t>(length));
}

std::string encode_utf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t ch : text) append_utf8(out, ch);
  return out;
}

std::u32string decode_utf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int64_t>(text.size());
  std::int64_t i = 0;
  while (i < length) {
    UChar32 ch = 0;
    U8_NEXT_OR_FFFD(bytes, i, length, ch);
    out.push_back(static_cast<char32_t>(ch));
  }
  return out;
}

std::u32string_view trim_whitespace(std::u32string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && is_whitespace(text[begin])) ++begin;
  while (end > begin && is_whitespace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace vorlin_geometry
