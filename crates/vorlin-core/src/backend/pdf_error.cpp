#include "vorlin_core/backend/pdf_error.h"

#include "vorlin_core/backend/lossy_utf8.h"
#include "vorlin_core/backend/system_error.h"

namespace vorlin_core {

PdfError PdfError::library_unavailable(std::string message) {
  return PdfError{Kind::LibraryUnavailable, std::move(message), {}, {}, 0, 0};
}
PdfError PdfError::io(std::string path, std::error_code os_error) {
  return PdfError{Kind::Io, {}, std::move(path), os_error, 0, 0};
}
PdfError PdfError::rejected(std::string message) {
  return PdfError{Kind::Rejected, std::move(message), {}, {}, 0, 0};
}
PdfError PdfError::page_out_of_range(std::size_t index, std::size_t count) {
  return PdfError{Kind::PageOutOfRange, {}, {}, {}, index, count};
}
PdfError PdfError::internal(std::string message) {
  return PdfError{Kind::Internal, std::move(message), {}, {}, 0, 0};
}

std::string PdfError::to_string() const {
  switch (kind) {
    case Kind::LibraryUnavailable:
      return "pdfium native library could not be loaded: " + message;
    case Kind::Io:
      return "failed to read PDF at " + lossy_utf8(path) + ": " + system_error_text(os_error);
    case Kind::Rejected:
      return "pdfium rejected the document: " + message;
    case Kind::PageOutOfRange:
      return "page index " + std::to_string(index) + " is out of range (document has " +
             std::to_string(count) + " pages)";
    case Kind::Internal:
      return "pdfium internal error: " + message;
  }
  return message;
}

}  // namespace vorlin_core
