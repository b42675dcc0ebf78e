#pragma once
// An in-memory backend for driving the pipeline: each page is described by
// its size, characters and images, or by the error that `page` returns or
// the exception it throws.

#include <exception>
#include <optional>

#include "vorlin_core/backend/pdf_backend.h"

namespace vorlin_core::testing_support {

struct FakePage {
  float width = 595.0f;
  float height = 842.0f;
  std::vector<PdfChar> chars;
  std::vector<PdfImage> images;
  bool chars_fail = false;
  bool images_fail = false;
  std::optional<PdfError> page_error;
  std::exception_ptr page_fault;  // thrown by `page`: a broken invariant, exhausted memory
};

class FakeBackend final : public PdfBackend {
 public:
  explicit FakeBackend(std::vector<FakePage> pages) : pages_(std::move(pages)) {}
  std::string_view name() const override { return "fake"; }
  bool reads_content() const override { return false; }
  std::expected<std::unique_ptr<PdfDocument>, PdfError> load(
      std::vector<std::uint8_t> bytes) const override;

 private:
  std::vector<FakePage> pages_;
};

// Characters of `text` set left to right from (x, y) in a fixed-pitch font, appended to `chars`.
void add_text(std::vector<PdfChar>& chars, std::u32string_view text, float x, float y,
              float size = 10.0f);

// A one-pixel image over the box whose bytes are a short PNG signature.
PdfImage image_at(float x0, float y0, float x1, float y1);

}  // namespace vorlin_core::testing_support
