#pragma once
// Bytes (a path, usually) shown as text: valid UTF-8 is copied, each maximal
// invalid subsequence becomes one U+FFFD.

#include <string>
#include <string_view>

namespace vorlin_core {

std::string lossy_utf8(std::string_view bytes);

}  // namespace vorlin_core
