#include "vorlin_core/backend/builtin_backend.h"

#include "vorlin_core/backend/png_writer.h"

namespace vorlin_core {
namespace {

class BuiltinPage final : public PdfPage {
 public:
  std::pair<float, float> size() const override { return {595.27f, 841.89f}; }
  std::expected<std::vector<PdfChar>, PdfError> chars() const override { return {}; }
  std::expected<std::vector<PdfPath>, PdfError> paths() const override { return {}; }
  std::expected<std::vector<PdfImage>, PdfError> images() const override { return {}; }

  // One fully transparent pixel.
  std::expected<std::vector<std::uint8_t>, PdfError> render_png() const override {
    static constexpr std::uint8_t kPixel[4] = {0, 0, 0, 0};
    auto png = encode_png(PngPixels{1, 1, PngColour::Rgba, 4, kPixel});
    if (!png) return std::unexpected(PdfError::internal(std::move(png.error())));
    return std::move(*png);
  }
};

class BuiltinDocument final : public PdfDocument {
 public:
  std::size_t page_count() const override { return page_count_; }
  std::expected<std::unique_ptr<PdfPage>, PdfError> page(std::size_t index) const override {
    if (index >= page_count_) {
      return std::unexpected(PdfError::page_out_of_range(index, page_count_));
    }
    return std::make_unique<BuiltinPage>();
  }

 private:
  std::size_t page_count_ = 1;
};

}  // namespace

std::expected<std::unique_ptr<PdfDocument>, PdfError> BuiltinBackend::load(
    std::vector<std::uint8_t>) const {
  return std::make_unique<BuiltinDocument>();
}

}  // namespace vorlin_core
