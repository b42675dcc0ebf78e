#pragma once
// Unicode White_Space (U+0009..U+000D, U+0020 and the non-ASCII spaces such as U+00A0, U+0085,
// U+3000) on UTF-8 text. Ill-formed sequences count as non-white-space, so they are never trimmed.

#include <cstddef>
#include <string_view>

namespace vorlin_core {

// `text` without leading and trailing white space.
std::string_view trim_white_space(std::string_view text);

// `text` without trailing white space.
std::string_view trim_white_space_end(std::string_view text);

// Maximal runs of non-white-space characters.
std::size_t count_words(std::string_view text);

}  // namespace vorlin_core
