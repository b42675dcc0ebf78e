#pragma once
// What the PDFium backend reads from one loaded page: its characters, images
// and picture. Every function here calls PDFium through the page's instance.

#include <expected>
#include <functional>
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

// Calls `on_object` with every object of `type` (kPageObjImage, kPageObjPath...) on the page, also
// inside form XObjects, in content order, with the matrix from the object's space to the page's.
using ObjectVisitor = std::function<void(pdfium::FPDF_PAGEOBJECT, const Affine&)>;
void for_each_page_object(const LoadedPage& page, int type, const ObjectVisitor& on_object);

// Characters in extraction order (see decode_text_page), boxes in page
// coordinates. Internal when PDFium cannot build the page's text.
std::expected<std::vector<PdfChar>, PdfError> read_chars(const LoadedPage& page,
                                                         const PageFrame& frame);

// One image object of the page (valid while the page is loaded), the box it occupies and its own
// pixel grid.
struct PageImage {
  pdfium::FPDF_PAGEOBJECT object;
  RawBox box;
  std::uint32_t pixel_width;
  std::uint32_t pixel_height;
};

// Every image object of the page, also inside form XObjects, in content order, found without
// decoding any. Images without a pixel size are left out.
std::vector<PageImage> read_images(const LoadedPage& page, const PageFrame& frame);

// Every visible path object of the page, also inside form XObjects, in content order, as the
// box it covers in visible-page coordinates.
std::vector<PdfPath> read_paths(const LoadedPage& page, const PageFrame& frame);

// The image's pixels. Internal when PDFium cannot decode them.
std::expected<PackedPixels, PdfError> decode_image(const pdfium::PdfiumApi& api,
                                                   pdfium::FPDF_PAGEOBJECT image);

// The page drawn on white, `width` x `height` pixels (at 72 dpi, one pixel per point).
// Internal when the size cannot be rendered or PDFium cannot allocate the bitmap.
std::expected<PackedPixels, PdfError> render_page(const LoadedPage& page, float width,
                                                  float height);

}  // namespace vorlin_core
