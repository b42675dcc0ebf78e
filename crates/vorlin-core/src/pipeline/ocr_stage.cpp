#include "vorlin_core/pipeline/ocr_stage.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "vorlin_core/ocr/ocr_decision.h"
#include "vorlin_core/ocr/ocr_engine.h"
#include "vorlin_core/pipeline/log.h"

namespace vorlin_core {
namespace {

constexpr float kPointsPerInch = 72;
// Pixels a page may be drawn with: 600 dpi of an A4 page would be 35 million, more than PDFium's
// renderer here allows.
constexpr float kMaxPixels = 32e6f;

void warn(const std::string& message) {
  const auto& logger = native_logger();
  if (logger->should_log(spdlog::level::warn) && !logger->sinks().empty())
    logger->warn("{}", message);
}

}  // namespace

std::expected<void, OcrError> OcrStage::check() const {
  if (settings_.mode != OcrMode::Force) return {};
  return ocr_available(settings_);
}

std::optional<OcrPage> OcrStage::read(const PdfPage& page, std::size_t index,
                                      std::span<const PdfChar> chars,
                                      std::span<const BBox> images, const BBox& page_box) {
  if (unavailable_ || !needs_ocr(settings_.mode, chars, images, page_box)) return std::nullopt;
  const std::string where = "page " + std::to_string(index + 1) + ": ";
  // A large page is drawn at a lower resolution rather than not at all.
  const float area = page_box.width() * page_box.height();
  const float fitting = kPointsPerInch * std::sqrt(kMaxPixels / std::max(area, 1.0f));
  const float dpi = std::min(settings_.dpi, fitting);
  auto image = page.render_gray(dpi);
  if (!image) {
    warn(where + "not read by OCR: " + image.error().to_string());
    return std::nullopt;
  }
  auto words = recognise(*image, dpi, settings_);
  if (!words) {
    if (words.error().kind == OcrError::Kind::Failed) {
      warn(where + "not read by OCR: " + words.error().message);
    } else {
      unavailable_ = true;  // the same for every page: said once, and not tried again
      warn("pages that need OCR are parsed without it: " + words.error().message);
    }
    return std::nullopt;
  }
  return ocr_page(*words, dpi, page_box.height());
}

}  // namespace vorlin_core
