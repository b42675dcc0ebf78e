#pragma once
// Recognised words as the characters of a page, so that OCR text goes through the same layout as
// a PDF's own text.

#include <span>
#include <vector>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/ocr/ocr_engine.h"
#include "vorlin_geometry/bbox.h"

namespace vorlin_core {

// A recognised word's box in PDF points and its confidence (0..1).
struct OcrBox {
  vorlin_geometry::BBox box;
  float confidence = 0;
};

struct OcrPage {
  std::vector<PdfChar> chars;
  std::vector<OcrBox> words;
};

// `words` from an image of a page `page_height` points high drawn at `dpi`, in PDF points (y up).
// Each word's box is split evenly across its letters; the letters of a line share one band
// around its baseline, and a font size estimated from the line's height, as a PDF's characters
// of one font and size would.
OcrPage ocr_page(std::span<const OcrWord> words, float dpi, float page_height);

}  // namespace vorlin_core
