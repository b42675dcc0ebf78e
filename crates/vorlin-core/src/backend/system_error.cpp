#include "vorlin_core/backend/system_error.h"

#include <string.h>

namespace vorlin_core {

std::string system_error_text(int error_number) {
  char buffer[256];
  // GNU strerror_r may return a static string instead of filling the buffer.
  const char* description = strerror_r(error_number, buffer, sizeof buffer);
  return std::string(description) + " (os error " + std::to_string(error_number) + ")";
}

}  // namespace vorlin_core
