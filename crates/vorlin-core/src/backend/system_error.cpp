#include "vorlin_core/backend/system_error.h"

#include <string.h>

#include <cerrno>

namespace vorlin_core {
namespace {

class SourceErrorCategory final : public std::error_category {
 public:
  const char* name() const noexcept override { return "vorlin source"; }
  std::string message(int value) const override {
    switch (static_cast<SourceError>(value)) {
      case SourceError::NotRegularFile:
        return "not a regular file";
    }
    return "unknown source error " + std::to_string(value);
  }
};

const SourceErrorCategory source_category;

}  // namespace

std::error_code make_error_code(SourceError error) {
  return {static_cast<int>(error), source_category};
}

std::string system_error_text(std::error_code error) {
  if (error.category() == source_category) return error.message();
  char buffer[256];
  // GNU strerror_r may return a static string instead of filling the buffer.
  const char* description = strerror_r(error.value(), buffer, sizeof buffer);
  return std::string(description) + " (os error " + std::to_string(error.value()) + ")";
}

std::error_code last_system_error() { return {errno, std::system_category()}; }

}  // namespace vorlin_core
