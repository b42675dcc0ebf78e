#pragma once
// The built-in backend: any readable file opens as one blank page of
// 595.27 x 841.89 points without characters or images.

#include "vorlin_core/backend/pdf_backend.h"

namespace vorlin_core {

class BuiltinBackend final : public PdfBackend {
 public:
  std::string_view name() const override { return "pure-rust"; }
  // Reads the whole file (to report an unreadable one) and keeps none of it.
  std::expected<std::unique_ptr<PdfDocument>, PdfError> open(
      const std::string& path) const override;
};

}  // namespace vorlin_core
