#pragma once
// The page half of the enhanced layout: what one page leaves behind for the document-level
// decisions (running furniture, heading levels) once its characters are gone.

#include <span>
#include <vector>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/model/document.h"
#include "vorlin_core/ocr/ocr_page.h"
#include "vorlin_geometry/laid_blocks.h"

namespace vorlin_core {

struct LaidFigure {
  NodeId id;
  BBox bbox;
  vorlin_geometry::ColumnSlot slot;
};

// A table found on the page: its pipe table, its cells and its place.
struct LaidTable {
  BBox bbox;
  std::vector<std::vector<std::string>> cells;
  vorlin_geometry::ColumnSlot slot;
};

struct LaidPage {
  BBox page_box;
  // Kept lines, cut at the column gutters, in page order, each with its text and slot; roles are
  // still all body.
  std::vector<vorlin_geometry::LaidLine> lines;
  std::vector<LaidFigure> figures;  // in the order of `figures`, ids already given
  std::vector<LaidTable> tables;    // top to bottom; their characters are in no line
  std::vector<OcrBox> ocr_words;    // the words, when OCR gave the page's text
};

// Ligatures expanded, lines grouped and cut at gutters, lone bullets rejoined, letter-spaced runs
// mended, noise dropped (a page number in the top or bottom band is kept for the furniture pass).
// `figures` are the boxes of the page's images, in the backend's order. Tables are found from
// `paths` first and their characters kept out of the lines.
LaidPage lay_out_page(std::span<const PdfChar> chars, std::span<const PdfPath> paths,
                      std::span<const BBox> figures, const BBox& page_box);

}  // namespace vorlin_core
