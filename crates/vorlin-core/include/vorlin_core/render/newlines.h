#pragma once
// Blank-line normalisation of rendered Markdown: a newline that would be the third or later in a
// row is dropped (any other character, a space or "\r" included, breaks the row); trailing empty
// lines are removed and a non-empty text ends in exactly one newline. "" stays "".

#include <string>
#include <string_view>

namespace vorlin_core {

std::string normalise_newlines(std::string_view text);

}  // namespace vorlin_core
