#include "vorlin_core/ocr/ocr_settings.h"

namespace vorlin_core {

std::optional<OcrMode> ocr_mode_named(std::string_view name) {
  for (const OcrModeName& entry : kOcrModeNames) {
    if (entry.name == name) return entry.mode;
  }
  return std::nullopt;
}

}  // namespace vorlin_core
