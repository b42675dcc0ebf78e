#pragma once
// OCR within one document's parse: which pages to read, reading them, and reporting what is
// missing once per document rather than once per page.

#include <cstddef>
#include <expected>
#include <optional>
#include <span>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/ocr/ocr_page.h"
#include "vorlin_core/ocr/ocr_settings.h"
#include "vorlin_geometry/bbox.h"

namespace vorlin_core {

using vorlin_geometry::BBox;

class OcrStage {
 public:
  explicit OcrStage(const OcrSettings& settings) : settings_(settings) {}

  // Under Force, whether OCR can run at all; a parse that cannot have it fails up front.
  std::expected<void, OcrError> check() const;

  // The page's text as OCR reads it, when the page needs OCR (needs_ocr) and OCR works; nullopt
  // keeps the page's own text. A missing Tesseract or language is logged as one warning for the
  // document, a page that fails as one warning for that page.
  std::optional<OcrPage> read(const PdfPage& page, std::size_t index,
                              std::span<const PdfChar> chars, std::span<const BBox> images,
                              const BBox& page_box);

 private:
  const OcrSettings& settings_;
  bool unavailable_ = false;
};

}  // namespace vorlin_core
