#pragma once
// Turning PDFium's text-page entries into characters. PDFium reports UTF-16
// code units, one entry each (a surrogate pair is two entries sharing one box),
// and inserts generated spaces and line breaks of its own.

#include <span>
#include <vector>

#include "vorlin_core/backend/pdf_backend.h"

namespace vorlin_core {

// One text-page entry as PDFium reports it.
struct TextPageEntry {
  unsigned int unicode = 0;
  bool generated = false;  // synthesised by PDFium, not in the content stream
  bool unmapped = false;   // the font gives this glyph no Unicode value
  bool hyphen = false;     // a hyphen PDFium found splitting a word at the line's end
  PdfChar look;            // box (page coordinates), size, font and direction; `ch` unused
};

// The page's characters in entry order: generated entries dropped, each
// surrogate pair joined into one character with the look of its first half;
// an unpaired surrogate, a value above U+10FFFF, zero or an unmapped glyph
// becomes U+FFFD. A generated entry marks the next character `space_before`; a
// hyphen entry stays a character, a '-' marked `line_end_hyphen`, and marks the
// one before `hyphen_after`.
std::vector<PdfChar> decode_text_page(std::span<const TextPageEntry> entries);

}  // namespace vorlin_core
