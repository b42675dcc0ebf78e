#pragma once
// What the PDFium backend reads from one loaded page: its characters, images
// and picture. Every function here calls PDFium, so the caller holds
// pdfium_lock(); PNG encoding is left to the caller, to be done after unlocking.

#include <expected>
#include <vector>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/backend/pdfium_api.h"
#include "vorlin_core/backend/pdfium_bitmap.h"
#include "vorlin_core/backend/pdfium_page_frame.h"

namespace vorlin_core {

struct LoadedPage {
  const pdfium::PdfiumApi* api = nullptr;
  pdfium::FPDF_PAGE page = nullptr;
};

// Characters in extraction order (see decode_text_page), boxes in page
// coordinates. Internal when PDFium cannot build the page's text.
std::expected<std::vector<PdfChar>, PdfError> read_chars(const LoadedPage& page,
                                                         const PageFrame& frame);

// One image object's own pixels and the box it occupies on the page.
struct PageImage {
  PackedPixels pixels;
  RawBox box;
};

// Every image object of the page, also inside form XObjects, in content order.
// Images PDFium cannot decode are left out.
std::vector<PageImage> read_images(const LoadedPage& page, const PageFrame& frame);

// The page drawn on white at 72 dpi (one pixel per point of `width` x `height`).
// Internal when the size cannot be rendered or PDFium cannot allocate the bitmap.
std::expected<PackedPixels, PdfError> render_page(const LoadedPage& page, float width,
                                                  float height);

}  // namespace vorlin_core
