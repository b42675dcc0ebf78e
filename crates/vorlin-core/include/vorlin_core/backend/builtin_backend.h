#pragma once
// The built-in backend: any readable file opens as one blank page of
// 595.27 x 841.89 points without characters or images.

#include "vorlin_core/backend/pdf_backend.h"

namespace vorlin_core {

class BuiltinBackend final : public PdfBackend {
 public:
  std::string_view name() const override { return "pure-rust"; }
  // The file is read (to report an unreadable one), but none of it is kept.
  bool reads_content() const override { return false; }
  std::expected<std::unique_ptr<PdfDocument>, PdfError> load(
      std::vector<std::uint8_t> bytes) const override;
};

}  // namespace vorlin_core
