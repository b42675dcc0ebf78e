#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

#include "vorlin_core/backend/pdfium_page_content.h"

namespace vorlin_core {
namespace {

// 14,400 points is the largest page PDF allows; the pixel cap keeps a
// hostile page size from asking for gigabytes (it still admits A0 and more).
constexpr double kMaxSide = 14400;
constexpr double kMaxPixels = double{1 << 25};

constexpr pdfium::FPDF_DWORD kOpaqueWhite = 0xFFFFFFFF;

std::string shortest(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::expected<PackedPixels, PdfError> render_page(const LoadedPage& page, float width,
                                                  float height) {
  // Rounded to whole pixels, at least one; NaN fails the comparisons.
  const double columns = std::max(1.0, std::round(double{width}));
  const double rows = std::max(1.0, std::round(double{height}));
  if (!(width > 0 && height > 0 && columns <= kMaxSide && rows <= kMaxSide &&
        columns * rows <= kMaxPixels)) {
    return std::unexpected(PdfError::internal("page size " + shortest(width) + " x " +
                                              shortest(height) + " cannot be rendered"));
  }
  const int w = static_cast<int>(columns);
  const int h = static_cast<int>(rows);

  const pdfium::PdfiumApi& api = *page.api;
  const auto destroy = [&api](pdfium::FPDF_BITMAP bitmap) { api.FPDFBitmap_Destroy(bitmap); };
  std::unique_ptr<pdfium::FpdfBitmap, decltype(destroy)> bitmap(
      api.FPDFBitmap_Create(w, h, /*alpha=*/0), destroy);
  if (!bitmap) {
    return std::unexpected(PdfError::internal("could not allocate a " + std::to_string(w) + " x " +
                                              std::to_string(h) + " bitmap"));
  }
  api.FPDFBitmap_FillRect(bitmap.get(), 0, 0, w, h, kOpaqueWhite);
  // The page's own /Rotate is applied by PDFium; no extra rotation.
  api.FPDF_RenderPageBitmap(bitmap.get(), page.page, 0, 0, w, h, 0, pdfium::kRenderAnnotations);

  const int stride = api.FPDFBitmap_GetStride(bitmap.get());
  const auto* buffer = static_cast<const std::uint8_t*>(api.FPDFBitmap_GetBuffer(bitmap.get()));
  if (!buffer || stride <= 0)
    return std::unexpected(PdfError::internal("rendered bitmap is empty"));
  auto pixels = pack_bitmap(
      BitmapView{api.FPDFBitmap_GetFormat(bitmap.get()),
                 w,
                 h,
                 stride,
                 {buffer, static_cast<std::size_t>(stride) * static_cast<std::size_t>(h)}});
  if (!pixels) return std::unexpected(PdfError::internal(std::move(pixels.error())));
  return std::move(*pixels);
}

}  // namespace vorlin_core
