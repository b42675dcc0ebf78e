#pragma once
// Which pages OCR reads, and which of their images are the scan itself.

#include <span>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/ocr/ocr_settings.h"
#include "vorlin_geometry/bbox.h"

namespace vorlin_core {

// Force: every page. Auto: a page whose images cover nearly all of it while hardly any usable text
// lies over them (a scan without a text layer), or whose text is mostly U+FFFD (fonts without a
// Unicode map). Off: none.
bool needs_ocr(OcrMode mode, std::span<const PdfChar> chars,
               std::span<const vorlin_geometry::BBox> images, const vorlin_geometry::BBox& page);

// Whether the image covers nearly all of the page, as a scanned page's picture does.
bool is_page_scan(const vorlin_geometry::BBox& image, const vorlin_geometry::BBox& page);

}  // namespace vorlin_core
