#pragma once
// Text of an operating-system error: the platform's description, then
// " (os error N)".

#include <string>

namespace vorlin_core {

std::string system_error_text(int error_number);

}  // namespace vorlin_core
