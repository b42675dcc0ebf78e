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
      std::vector<std::uint8_t>) const override {
    return std::make_unique<Document>(pages_);
  }

 private:
  template <class T>
  using Read = std::expected<std::vector<T>, PdfError>;

  class Page final : public PdfPage {
   public:
    explicit Page(const FakePage& page) : page_(page) {}
    std::pair<float, float> size() const override { return {page_.width, page_.height}; }
    Read<PdfChar> chars() const override {
      if (page_.chars_fail) return std::unexpected(PdfError::internal("chars"));
      return page_.chars;
    }
    Read<PdfPath> paths() const override { return {}; }
    Read<PdfImage> images() const override {
      if (page_.images_fail) return std::unexpected(PdfError::internal("images"));
      return page_.images;
    }
    Read<std::uint8_t> render_png() const override { return {}; }

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

  std::vector<FakePage> pages_;
};

// Characters of `text` set left to right from (x, y) in a fixed-pitch font, appended to `chars`.
inline void add_text(std::vector<PdfChar>& chars, std::u32string_view text, float x, float y,
                     float size = 10.0f) {
  for (char32_t ch : text) {
    chars.push_back(PdfChar{ch, x, y, x + size * 0.5f, y + size, size});
    x += size * 0.5f;
  }
}

// A one-pixel image over the box whose bytes are a short PNG signature.
inline PdfImage image_at(float x0, float y0, float x1, float y1) {
  return PdfImage{std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 1, 2, 3}, x0, y0, x1, y1, 1, 1};
}

}  // namespace vorlin_core::testing_support
