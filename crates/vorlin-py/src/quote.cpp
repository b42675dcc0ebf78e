#include "quote.h"

#include <unicode/utf8.h>

#include <charconv>
#include <cstdint>

#include "vorlin_geometry/unicode.h"

namespace vorlin_py {
namespace {

namespace unicode = vorlin_geometry::unicode;

// Printable means not a control, format, surrogate, private-use, unassigned or separator
// character; the plain space is the one printable separator.
bool is_printable(UChar32 c) {
  if (c == ' ') return true;
  using enum unicode::Category;
  switch (unicode::category(static_cast<char32_t>(c))) {
    case Cc:
    case Cf:
    case Cs:
    case Co:
    case Cn:
    case Zl:
    case Zp:
    case Zs:
      return false;
    default:
      return true;
  }
}

void append_code_point_escape(std::string& out, UChar32 c) {
  char digits[8];
  const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<unsigned>(c), 16).ptr;
  out += "\\u{";
  out.append(digits, end);
  out += '}';
}

}  // namespace

std::string quoted(std::string_view text) {
  std::string out = "\"";
  out.reserve(text.size() + 2);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int64_t>(text.size());
  std::int64_t index = 0;
  while (index < length) {
    const std::int64_t start = index;
    UChar32 c = 0;
    U8_NEXT(bytes, index, length, c);
    switch (c) {
      case '\\': out += "\\\\"; continue;
      case '"': out += "\\\""; continue;
      case '\t': out += "\\t"; continue;
      case '\r': out += "\\r"; continue;
      case '\n': out += "\\n"; continue;
      case '\0': out += "\\0"; continue;
      default: break;
    }
    if (c < 0) {
      append_code_point_escape(out, 0xfffd);
    } else if (!is_printable(c) || unicode::is_grapheme_extend(static_cast<char32_t>(c))) {
      append_code_point_escape(out, c);
    } else {
      out.append(text.substr(static_cast<std::size_t>(start),
                             static_cast<std::size_t>(index - start)));
    }
  }
  out += '"';
  return out;
}

}  // namespace vorlin_py
