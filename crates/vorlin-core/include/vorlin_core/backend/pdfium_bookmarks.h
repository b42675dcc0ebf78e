#pragma once
// A document's outline through PDFium: every bookmark depth first, with its level, title and
// target. Outlines in damaged or hostile files may loop or run deep; each bookmark is read once
// and the walk stops at kMaxBookmarks entries, so it always ends.

#include <vector>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/backend/pdfium_api.h"

namespace vorlin_core {

inline constexpr std::size_t kMaxBookmarks = 100000;

std::vector<PdfBookmark> read_bookmarks(const pdfium::PdfiumApi& api,
                                        pdfium::FPDF_DOCUMENT document);

}  // namespace vorlin_core
