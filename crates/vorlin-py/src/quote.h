#pragma once
// The quoted form of a text in representations and messages: between double quotes, with
// backslash escapes for \ " tab CR LF NUL, and \u{hex} for characters that are not printable or
// that extend a grapheme (combining marks), so that invisible characters can be seen.

#include <string>
#include <string_view>

namespace vorlin_py {

// `text` is UTF-8; an invalid sequence is shown as \u{fffd}.
std::string quoted(std::string_view text);

}  // namespace vorlin_py
