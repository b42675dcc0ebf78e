#include "vorlin_core/ocr/ocr_decision.h"

#include <algorithm>

#include "vorlin_geometry/primitives.h"

namespace vorlin_core {
namespace {

using vorlin_geometry::BBox;

// Share of the page that images must cover for it to be a scan: a scanner captures the whole
// sheet, while a born-digital page that is one picture (a cover, a full-page figure) keeps its
// margins, some 60% of the page.
constexpr float kScanCoverage = 0.8f;
// Fewer usable characters than this over the images is no text layer (a stamp, a page number).
constexpr std::size_t kMinLayerChars = 20;
// Share of a page's visible characters that, unmapped, make its text unusable.
constexpr float kUnmappedShare = 0.5f;

constexpr char32_t kReplacement = 0xFFFD;

float covered_area(const BBox& box, const BBox& page) {
  const float width = std::min(box.x1, page.x1) - std::max(box.x0, page.x0);
  const float height = std::min(box.y1, page.y1) - std::max(box.y0, page.y0);
  return width > 0 && height > 0 ? width * height : 0.0f;  // NaN covers nothing
}

bool over_any(const PdfChar& c, std::span<const BBox> images) {
  const float x = (c.x0 + c.x1) / 2, y = (c.y0 + c.y1) / 2;
  return std::ranges::any_of(images, [x, y](const BBox& image) {
    return x >= image.x0 && x <= image.x1 && y >= image.y0 && y <= image.y1;
  });
}

}  // namespace

bool needs_ocr(OcrMode mode, std::span<const PdfChar> chars, std::span<const BBox> images,
               const BBox& page) {
  if (mode != OcrMode::Auto) return mode == OcrMode::Force;
  std::size_t visible = 0, unmapped = 0, layer = 0;
  for (const PdfChar& c : chars) {
    if (vorlin_geometry::is_whitespace(c.ch)) continue;
    ++visible;
    if (c.ch == kReplacement) {
      ++unmapped;
    } else if (over_any(c, images)) {
      ++layer;
    }
  }
  if (visible > 0 && static_cast<float>(unmapped) >= kUnmappedShare * static_cast<float>(visible))
    return true;
  float covered = 0;
  for (const BBox& image : images) covered += covered_area(image, page);
  const float area = page.width() * page.height();
  return area > 0 && covered >= kScanCoverage * area && layer < kMinLayerChars;
}

bool is_page_scan(const BBox& image, const BBox& page) {
  const float area = page.width() * page.height();
  return area > 0 && covered_area(image, page) >= kScanCoverage * area;
}

}  // namespace vorlin_core
