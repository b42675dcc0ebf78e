#pragma once
// Words read from a page image by Tesseract, with their boxes and confidences.

#include <expected>
#include <string>
#include <vector>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/ocr/ocr_settings.h"

namespace vorlin_core {

// One recognised word, in the image's pixels (y down).
struct OcrWord {
  std::string text;  // UTF-8, no white space
  float left = 0, top = 0, right = 0, bottom = 0;
  float line_top = 0, line_bottom = 0;  // the word's text line
  float baseline = 0;                   // the line's baseline at the word's centre
  float confidence = 0;                 // 0..1
  bool line_start = false;              // the first word of its line
};

// Whether OCR as `settings` asks for can run: Tesseract loads and has the languages' data.
std::expected<void, OcrError> ocr_available(const OcrSettings& settings);

// Every word of `image`, drawn at `dpi`, in Tesseract's reading order, by an engine for
// `settings`' library and languages.
std::expected<std::vector<OcrWord>, OcrError> recognise(const GrayImage& image, float dpi,
                                                        const OcrSettings& settings);

}  // namespace vorlin_core
