#pragma once
// The backend on the PDFium library, loaded at run time. Construction never
// fails; `load` leases a private instance (pdfium_library.h), loading the
// library on first use.

#include "vorlin_core/backend/pdf_backend.h"

namespace vorlin_core {

class PdfiumBackend final : public PdfBackend {
 public:
  // `library_path`: the PDFium shared library, as a path or a bare file name
  // for the system loader's search (e.g. "libpdfium.so").
  explicit PdfiumBackend(std::string library_path) : library_path_(std::move(library_path)) {}

  std::string_view name() const override { return "pdfium"; }

  bool reads_content() const override { return true; }

  // LibraryUnavailable when PDFium cannot be loaded, Rejected when PDFium
  // refuses the bytes. The document keeps them and its instance.
  std::expected<std::unique_ptr<PdfDocument>, PdfError> load(
      std::vector<std::uint8_t> bytes) const override;

 private:
  std::string library_path_;
};

}  // namespace vorlin_core
