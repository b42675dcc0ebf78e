#pragma once
// The backend on the PDFium library, loaded at run time. Construction never
// fails; `open` loads the library on first use (the first library loaded in
// the process serves every PdfiumBackend, whatever path each was given).

#include "vorlin_core/backend/pdf_backend.h"

namespace vorlin_core {

class PdfiumBackend final : public PdfBackend {
 public:
  // `library_path`: the PDFium shared library, as a path or a bare file name
  // for the system loader's search (e.g. "libpdfium.so").
  explicit PdfiumBackend(std::string library_path) : library_path_(std::move(library_path)) {}

  std::string_view name() const override { return "pdfium"; }

  // LibraryUnavailable when PDFium cannot be loaded, Io when the file cannot be
  // read, Rejected when PDFium refuses it. The document keeps the file's bytes.
  std::expected<std::unique_ptr<PdfDocument>, PdfError> open(
      const std::string& path) const override;

 private:
  std::string library_path_;
};

}  // namespace vorlin_core
