#pragma once
// Text of an operating-system error: the platform's description, then " (os error N)". Errors of
// this library's own category (SourceError) read as their description alone.

#include <string>
#include <system_error>

namespace vorlin_core {

// Refusals of the source reader where the operating system reports no error.
enum class SourceError {
  NotRegularFile = 1,  // a FIFO, device or socket: reading it may block or never end
};

std::error_code make_error_code(SourceError error);

std::string system_error_text(std::error_code error);

// The calling thread's errno as an error code.
std::error_code last_system_error();

}  // namespace vorlin_core

template <>
struct std::is_error_code_enum<vorlin_core::SourceError> : std::true_type {};
