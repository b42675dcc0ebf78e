#include "vorlin_geometry/hyphenation.h"

#include <unicode/uchar.h>

#include <string_view>

#include "vorlin_geometry/primitives.h"
#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {

namespace {

constexpr char32_t kHyphenMinus = U'-';
constexpr char32_t kHyphen = 0x2010;
constexpr char32_t kSoftHyphen = 0x00AD;

enum class Join { Space, Direct, DropLastAndJoin };

bool is_continuation_byte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Byte length of the last UTF-8 sequence of `text` (0 for empty text).
std::size_t last_sequence_length(std::string_view text) {
  std::size_t start = text.size();
  while (start > 0) {
    --start;
    if (!is_continuation_byte(text[start])) break;
  }
  return text.size() - start;
}

char32_t last_scalar(std::string_view text) {
  const std::u32string tail = decode_utf8(text.substr(text.size() - last_sequence_length(text)));
  return tail.empty() ? 0 : tail.back();
}

char32_t first_scalar(std::string_view text) {
  std::size_t length = text.empty() ? 0 : 1;
  while (length < text.size() && length < 4 && is_continuation_byte(text[length])) ++length;
  const std::u32string head = decode_utf8(text.substr(0, length));
  return head.empty() ? 0 : head.front();
}

Join join_after(std::string_view previous, std::string_view next) {
  if (previous.empty() || next.empty()) return Join::Space;
  const char32_t last = last_scalar(previous);
  if (last == kSoftHyphen) return Join::DropLastAndJoin;
  if (last != kHyphenMinus && last != kHyphen) return Join::Space;
  const std::string_view stem =
      previous.substr(0, previous.size() - last_sequence_length(previous));
  if (stem.empty() || !is_alphabetic(last_scalar(stem))) return Join::Space;
  const char32_t first = first_scalar(next);
  if (u_islower(static_cast<UChar32>(first))) return Join::DropLastAndJoin;
  if (u_isupper(static_cast<UChar32>(first)) || u_isdigit(static_cast<UChar32>(first))) {
    return Join::Direct;
  }
  return Join::Space;
}

std::string_view trim_spaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string join_block_lines(std::span<const std::string> lines) {
  std::string text;
  for (const std::string& raw : lines) {
    const std::string_view line = trim_spaces(raw);
    if (line.empty()) continue;
    switch (join_after(text, line)) {
      case Join::Space:
        if (!text.empty()) text.push_back(' ');
        break;
      case Join::Direct:
        break;
      case Join::DropLastAndJoin:
        text.resize(text.size() - last_sequence_length(text));
        break;
    }
    text += line;
  }
  return text;
}

}  // namespace vorlin_geometry
