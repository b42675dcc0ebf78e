#pragma once
// The one error of every backend operation, with its fixed display texts.

#include <cstddef>
#include <string>
#include <system_error>

namespace vorlin_core {

struct PdfError {
  enum class Kind { LibraryUnavailable, Io, Rejected, PageOutOfRange, Internal };
  Kind kind;
  std::string message;      // LibraryUnavailable, Rejected, Internal
  std::string path;         // Io: the path as given (raw bytes)
  std::error_code os_error;  // Io
  std::size_t index = 0;    // PageOutOfRange
  std::size_t count = 0;    // PageOutOfRange

  static PdfError library_unavailable(std::string message);
  static PdfError io(std::string path, std::error_code os_error);
  static PdfError rejected(std::string message);
  static PdfError page_out_of_range(std::size_t index, std::size_t count);
  static PdfError internal(std::string message);

  // The display text, e.g. "page index 3 is out of range (document has 1 pages)".
  std::string to_string() const;
};

}  // namespace vorlin_core
