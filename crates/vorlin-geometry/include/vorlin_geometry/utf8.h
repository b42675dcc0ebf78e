#pragma once
// UTF-8 conversion for the geometry passes' texts. Output is always well-formed: a value that is
// not a Unicode scalar value, or an ill-formed input sequence, becomes U+FFFD.

#include <string>
#include <string_view>

namespace vorlin_geometry {

namespace detail {
void append_utf8_multibyte(std::string& out, char32_t ch);
}  // namespace detail

// Appends `ch` to `out` as UTF-8 (surrogates and values above U+10FFFF as U+FFFD).
inline void append_utf8(std::string& out, char32_t ch) {
  if (ch < 0x80) {
    out.push_back(static_cast<char>(ch));
  } else {
    detail::append_utf8_multibyte(out, ch);
  }
}

// `ch` when it is a Unicode scalar value, else U+FFFD: what `ch` reads as once encoded.
inline char32_t scalar_or_replacement(char32_t ch) {
  return ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF) ? char32_t{0xFFFD} : ch;
}

std::string encode_utf8(std::u32string_view text);

// Each maximal ill-formed subsequence reads as one U+FFFD.
std::u32string decode_utf8(std::string_view text);

// `text` without leading and trailing Unicode White_Space.
std::u32string_view trim_whitespace(std::u32string_view text);

}  // namespace vorlin_geometry
