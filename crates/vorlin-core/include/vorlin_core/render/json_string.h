#pragma once
// JSON string literal of UTF-8 text: quote and backslash escaped, \b \t \n \f \r for those
// controls, lowercase \u00xx for the other controls below U+0020; "/", U+007F and non-ASCII
// are copied. Text that is not well-formed UTF-8 is refused (the error names the byte offset)
// rather than written into output that no JSON reader accepts; `out` then holds a partial literal.

#include <expected>
#include <string>
#include <string_view>

namespace vorlin_core {

std::expected<void, std::string> append_json_string(std::string& out, std::string_view text);

}  // namespace vorlin_core
