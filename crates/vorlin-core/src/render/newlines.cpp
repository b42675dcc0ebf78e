#include "vorlin_core/render/newlines.h"

#include <cstring>

namespace vorlin_core {

std::string normalise_newlines(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 1);
  // Copy whole lines at a time; only runs of newlines need a decision byte by byte.
  std::size_t newlines_in_row = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\n') {
      if (++newlines_in_row <= 2) out.push_back('\n');
      ++i;
      continue;
    }
    const void* found = std::memchr(text.data() + i, '\n', text.size() - i);
    const std::size_t line_end =
        found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
              : text.size();
    out.append(text.data() + i, line_end - i);
    newlines_in_row = 0;
    i = line_end;
  }
  while (out.ends_with("\n\n")) out.pop_back();
  if (!out.empty() && !out.ends_with('\n')) out.push_back('\n');
  return out;
}

}  // namespace vorlin_core
