#include <cmath>

#include "vorlin_core/backend/pdfium_page_content.h"

namespace vorlin_core {

// Channel level (of 255) from which a fill reads as white, and the opacity below which it is a
// shadow or a veil rather than a tint.
constexpr unsigned int kBlankLevel = 250;
constexpr unsigned int kOpaqueLevel = 128;

// An invisible path (neither stroked nor filled, e.g. a clipping outline) draws nothing.
std::vector<PdfPath> read_paths(const LoadedPage& page, const PageFrame& frame) {
  std::vector<PdfPath> paths;
  const pdfium::PdfiumApi& api = *page.api;
  for_each_page_object(page, pdfium::kPageObjPath, [&](auto object, const Affine& to_page) {
    int fill_mode = 0;
    pdfium::FPDF_BOOL stroke = 0;
    if (!api.FPDFPath_GetDrawMode(object, &fill_mode, &stroke)) return;
    if (fill_mode == 0 && !stroke) return;
    float left = 0, bottom = 0, right = 0, top = 0;
    if (!api.FPDFPageObj_GetBounds(object, &left, &bottom, &right, &top)) return;
    const RawBox box = frame.map(transform_box({left, bottom, right, top}, to_page));
    if (!(std::isfinite(box.x0) && std::isfinite(box.y0) && std::isfinite(box.x1) &&
          std::isfinite(box.y1))) {
      return;
    }
    unsigned int r = 0, g = 0, b = 0, a = 0;
    const bool coloured = fill_mode != 0 && api.FPDFPageObj_GetFillColor(object, &r, &g, &b, &a);
    const bool blank = coloured && (a < kOpaqueLevel ||
                                    (r >= kBlankLevel && g >= kBlankLevel && b >= kBlankLevel));
    paths.push_back(PdfPath{static_cast<float>(box.x0), static_cast<float>(box.y0),
                            static_cast<float>(box.x1), static_cast<float>(box.y1), stroke != 0,
                            fill_mode != 0, blank});
  });
  return paths;
}

}  // namespace vorlin_core
