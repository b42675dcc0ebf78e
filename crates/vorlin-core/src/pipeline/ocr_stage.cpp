#include "vorlin_core/pipeline/ocr_stage.h"

#include <string>

#include "vorlin_core/ocr/ocr_decision.h"
#include "vorlin_core/ocr/ocr_engine.h"
#include "vorlin_core/pipeline/log.h"

namespace vorlin_core {
namespace {

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
  auto image = page.render_gray(settings_.dpi);
  if (!image) {
    warn(where + "not read by OCR: " + image.error().to_string());
    return std::nullopt;
  }
  auto words = recognise(*image, settings_);
  if (!words) {
    if (words.error().kind == OcrError::Kind::Failed) {
      warn(where + "not read by OCR: " + words.error().message);
    } else {
      unavailable_ = true;  // the same for every page: said once, and not tried again
      warn("pages that need OCR are parsed without it: " + words.error().message);
    }
    return std::nullopt;
  }
  return ocr_page(*words, settings_.dpi, page_box.height());
}

}  // namespace vorlin_core
