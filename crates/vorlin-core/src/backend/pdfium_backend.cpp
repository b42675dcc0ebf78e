#include "vorlin_core/backend/pdfium_backend.h"

#include <algorithm>

#include "vorlin_core/backend/pdfium_bookmarks.h"
#include "vorlin_core/backend/pdfium_library.h"
#include "vorlin_core/backend/pdfium_page_content.h"

namespace vorlin_core {
namespace {

using pdfium::PdfiumApi;

std::string rejection_message(unsigned long code) {
  switch (code) {
    case pdfium::kErrFormat:
      return "not a PDF file or damaged";
    case pdfium::kErrPassword:
      return "password required or incorrect";
    case pdfium::kErrSecurity:
      return "unsupported security scheme";
  }
  return "unknown error (code " + std::to_string(code) + ")";
}

// The page's bounding box and rotation; a page without a bounding box maps as
// if it started at the origin.
PageFrame read_page_frame(const LoadedPage& page) {
  pdfium::FS_RECTF box{};
  PageFrame frame;
  if (page.api->FPDF_GetPageBoundingBox(page.page, &box)) {
    frame.visible = {box.left, box.bottom, box.right, box.top};
  }
  frame.rotation = page.api->FPDFPage_GetRotation(page.page);
  return frame;
}

// PDFium reads the file from these bytes for as long as the document is open, on the instance
// lent for it. Pages share ownership, so the document is closed after its last page and the
// instance goes back to the pool after the document.
struct OpenDocument {
  PdfiumLease api;
  std::vector<std::uint8_t> bytes;
  pdfium::FPDF_DOCUMENT document = nullptr;

  OpenDocument(PdfiumLease api, std::vector<std::uint8_t> bytes)
      : api(std::move(api)), bytes(std::move(bytes)) {}
  OpenDocument(const OpenDocument&) = delete;
  OpenDocument& operator=(const OpenDocument&) = delete;
  ~OpenDocument() {
    if (document) api->FPDF_CloseDocument(document);
  }
};

// A loaded page, shared by the page object and the image encoders it hands out, so an encoder
// never reads a closed page. Text pages never outlive a call, and `document` is released only
// after this body: text page, page, document is the order PDFium requires.
struct OpenPage {
  std::shared_ptr<const OpenDocument> document;
  LoadedPage page;

  OpenPage(std::shared_ptr<const OpenDocument> document, pdfium::FPDF_PAGE page)
      : document(std::move(document)), page{this->document->api.get(), page} {}
  OpenPage(const OpenPage&) = delete;
  OpenPage& operator=(const OpenPage&) = delete;
  ~OpenPage() { page.api->FPDF_ClosePage(page.page); }
};

PngData deferred_png(std::shared_ptr<const OpenPage> page, pdfium::FPDF_PAGEOBJECT image) {
  return PngData([page = std::move(page), image]() -> std::expected<std::vector<std::uint8_t>,
                                                                    PdfError> {
    auto pixels = decode_image(*page->page.api, image);
    if (!pixels) return std::unexpected(std::move(pixels.error()));
    auto png = encode_packed(*pixels);
    if (!png) return std::unexpected(PdfError::internal(std::move(png.error())));
    return std::move(*png);
  });
}

class PdfiumPage final : public PdfPage {
 public:
  explicit PdfiumPage(std::shared_ptr<const OpenPage> open)
      : open_(std::move(open)),
        frame_(read_page_frame(open_->page)),
        width_(open_->page.api->FPDF_GetPageWidthF(open_->page.page)),
        height_(open_->page.api->FPDF_GetPageHeightF(open_->page.page)) {}

  std::pair<float, float> size() const override { return {width_, height_}; }

  std::expected<std::vector<PdfChar>, PdfError> chars() const override {
    return read_chars(open_->page, frame_);
  }

  std::expected<std::vector<PdfPath>, PdfError> paths() const override {
    return read_paths(open_->page, frame_);
  }

  std::expected<std::vector<PdfImage>, PdfError> images() const override {
    std::vector<PdfImage> images;
    for (const PageImage& image : read_images(open_->page, frame_)) {
      images.push_back(PdfImage{deferred_png(open_, image.object), static_cast<float>(image.box.x0),
                                static_cast<float>(image.box.y0), static_cast<float>(image.box.x1),
                                static_cast<float>(image.box.y1), image.pixel_width,
                                image.pixel_height});
    }
    return images;
  }

  std::expected<std::vector<std::uint8_t>, PdfError> render_png() const override {
    auto pixels = render_page(open_->page, width_, height_);
    if (!pixels) return std::unexpected(std::move(pixels.error()));
    auto png = encode_packed(*pixels);
    if (!png) return std::unexpected(PdfError::internal(std::move(png.error())));
    return std::move(*png);
  }

  std::expected<GrayImage, PdfError> render_gray(float dpi) const override {
    const float scale = dpi / kPointsPerInch;
    auto pixels = render_page(open_->page, width_ * scale, height_ * scale);
    if (!pixels) return std::unexpected(std::move(pixels.error()));
    return gray_of(*pixels);
  }

 private:
  static constexpr float kPointsPerInch = 72;
  std::shared_ptr<const OpenPage> open_;
  PageFrame frame_;
  float width_ = 0;
  float height_ = 0;
};

class PdfiumDocument final : public PdfDocument {
 public:
  PdfiumDocument(std::shared_ptr<const OpenDocument> document, std::size_t page_count)
      : document_(std::move(document)), page_count_(page_count) {}

  std::size_t page_count() const override { return page_count_; }

  std::vector<PdfBookmark> bookmarks() const override {
    return read_bookmarks(*document_->api, document_->document);
  }

  std::expected<std::unique_ptr<PdfPage>, PdfError> page(std::size_t index) const override {
    if (index >= page_count_) {
      return std::unexpected(PdfError::page_out_of_range(index, page_count_));
    }
    pdfium::FPDF_PAGE page =
        document_->api->FPDF_LoadPage(document_->document, static_cast<int>(index));
    if (!page) return std::unexpected(PdfError::internal("could not load the page"));
    return std::make_unique<PdfiumPage>(std::make_shared<const OpenPage>(document_, page));
  }

 private:
  std::shared_ptr<const OpenDocument> document_;
  std::size_t page_count_;
};

}  // namespace

std::expected<std::unique_ptr<PdfDocument>, PdfError> PdfiumBackend::load(
    std::vector<std::uint8_t> bytes) const {
  auto api = lease_pdfium(library_path_);
  if (!api) return std::unexpected(std::move(api.error()));
  auto document = std::make_shared<OpenDocument>(std::move(*api), std::move(bytes));
  document->document =
      document->api->FPDF_LoadMemDocument64(document->bytes.data(), document->bytes.size(), nullptr);
  // The error code is only meaningful right after the failed call, on the same instance.
  if (!document->document) {
    return std::unexpected(PdfError::rejected(rejection_message(document->api->FPDF_GetLastError())));
  }
  const int pages = document->api->FPDF_GetPageCount(document->document);
  return std::make_unique<PdfiumDocument>(std::move(document),
                                          static_cast<std::size_t>(std::max(pages, 0)));
}

}  // namespace vorlin_core
