#include "support/fake_backend.h"

namespace vorlin_core::testing_support {
namespace {

class Page final : public PdfPage {
 public:
  explicit Page(const FakePage& page) : page_(page) {}
  std::pair<float, float> size() const override { return {page_.width, page_.height}; }
  std::expected<std::vector<PdfChar>, PdfError> chars() const override {
    if (page_.chars_fail) return std::unexpected(PdfError::internal("chars"));
    return page_.chars;
  }
  std::expected<std::vector<PdfPath>, PdfError> paths() const override { return {}; }
  std::expected<std::vector<PdfImage>, PdfError> images() const override {
    if (page_.images_fail) return std::unexpected(PdfError::internal("images"));
    return page_.images;
  }
  std::expected<std::vector<std::uint8_t>, PdfError> render_png() const override { return {}; }

 private:
  const FakePage& page_;
};

class Document final : public PdfDocument {
 public:
  explicit Document(const std::vector<FakePage>& pages) : pages_(pages) {}
  std::size_t page_count() const override { return pages_.size(); }
  std::expected<std::unique_ptr<PdfPage>, PdfError> page(std::size_t index) const override {
    if (index >= pages_.size()) {
      return std::unexpected(PdfError::page_out_of_range(index, pages_.size()));
    }
    if (pages_[index].page_fault) std::rethrow_exception(pages_[index].page_fault);
    if (pages_[index].page_error) return std::unexpected(*pages_[index].page_error);
    return std::make_unique<Page>(pages_[index]);
  }

 private:
  const std::vector<FakePage>& pages_;
};

}  // namespace

std::expected<std::unique_ptr<PdfDocument>, PdfError> FakeBackend::load(std::vector<std::uint8_t>) const {
  return std::make_unique<Document>(pages_);
}

void add_text(std::vector<PdfChar>& chars, std::u32string_view text, float x, float y, float size) {
  for (char32_t ch : text) {
    chars.push_back(PdfChar{ch, x, y, x + size * 0.5f, y + size, size});
    x += size * 0.5f;
  }
}

PdfImage image_at(float x0, float y0, float x1, float y1) {
  return PdfImage{std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 1, 2, 3}, x0, y0, x1, y1, 1, 1};
}

}  // namespace vorlin_core::testing_support
