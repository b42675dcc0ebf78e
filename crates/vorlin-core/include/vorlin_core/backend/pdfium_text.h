#pragma once
// Turning PDFium's text-page entries into characters. PDFium reports UTF-16
// code units, one entry each (a surrogate pair is two entries sharing one box),
// and inserts generated spaces and line breaks of its own.

#include <span>
#include <vector>

#include "vorlin_core/backend/pdf_backend.h"

namespace vorlin_core {

// One text-page entry as PDFium reports it, box already in page coordinates.
struct TextPageEntry {
  unsigned int unicode = 0;
  bool generated = false;  // synthesised by PDFium, not in the content stream
  bool unmapped = false;   // the font gives this glyph no Unicode value
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  float font_size = 0;
};

// The page's characters in entry order: generated entries dropped, each
// surrogate pair joined into one character with the box and size of its first
// half; an unpaired surrogate, a value above U+10FFFF, zero or an unmapped
// glyph becomes U+FFFD.
std::vector<PdfChar> decode_text_page(std::span<const TextPageEntry> entries);

}  // namespace vorlin_core
