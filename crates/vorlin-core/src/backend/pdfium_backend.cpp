#include "vorlin_core/backend/pdfium_backend.h"

#include <algorithm>

#include "vorlin_core/backend/file_bytes.h"
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

// PDFium reads the file from these bytes for as long as the document is open.
// Pages share ownership, so the document is closed after its last page.
struct OpenDocument {
  const PdfiumApi* api;
  std::vector<std::uint8_t> bytes;
  pdfium::FPDF_DOCUMENT document = nullptr;

  OpenDocument(const PdfiumApi* api, std::vector<std::uint8_t> bytes)
      : api(api), bytes(std::move(bytes)) {}
  OpenDocument(const OpenDocument&) = delete;
  OpenDocument& operator=(const OpenDocument&) = delete;
  ~OpenDocument() {
    if (!document) return;
    auto lock = pdfium_lock();
    api->FPDF_CloseDocument(document);
  }
};

class PdfiumPage final : public PdfPage {
 public:
  PdfiumPage(std::shared_ptr<const OpenDocument> document, pdfium::FPDF_PAGE page)
      : document_(std::move(document)), page_{document_->api, page} {
    // Called with the lock held by PdfiumDocument::page.
    frame_ = read_page_frame(page_);
    width_ = page_.api->FPDF_GetPageWidthF(page);
    height_ = page_.api->FPDF_GetPageHeightF(page);
  }
  PdfiumPage(const PdfiumPage&) = delete;
  PdfiumPage& operator=(const PdfiumPage&) = delete;
  // Text pages never outlive a call, and `document_` is released only after
  // this body: text page, page, document is the order PDFium requires.
  ~PdfiumPage() override {
    auto lock = pdfium_lock();
    page_.api->FPDF_ClosePage(page_.page);
  }

  std::pair<float, float> size() const override { return {width_, height_}; }

  std::expected<std::vector<PdfChar>, PdfError> chars() const override {
    auto lock = pdfium_lock();
    return read_chars(page_, frame_);
  }

  std::expected<std::vector<PdfAnnotation>, PdfError> annotations() const override { return {}; }

  std::expected<std::vector<PdfImage>, PdfError> images() const override {
    std::vector<PageImage> found;
    {
      auto lock = pdfium_lock();
      found = read_images(page_, frame_);
    }
    std::vector<PdfImage> images;
    images.reserve(found.size());
    for (const PageImage& image : found) {
      auto png = encode_packed(image.pixels);
      if (!png) continue;  // an image that cannot be encoded is skipped like an undecodable one
      images.push_back(PdfImage{std::move(*png), static_cast<float>(image.box.x0),
                                static_cast<float>(image.box.y0), static_cast<float>(image.box.x1),
                                static_cast<float>(image.box.y1), image.pixels.width,
                                image.pixels.height});
    }
    return images;
  }

  std::expected<std::vector<std::uint8_t>, PdfError> render_png() const override {
    std::expected<PackedPixels, PdfError> pixels;
    {
      auto lock = pdfium_lock();
      pixels = render_page(page_, width_, height_);
    }
    if (!pixels) return std::unexpected(std::move(pixels.error()));
    auto png = encode_packed(*pixels);
    if (!png) return std::unexpected(PdfError::internal(std::move(png.error())));
    return std::move(*png);
  }

 private:
  std::shared_ptr<const OpenDocument> document_;
  LoadedPage page_;
  PageFrame frame_;
  float width_ = 0;
  float height_ = 0;
};

class PdfiumDocument final : public PdfDocument {
 public:
  PdfiumDocument(std::shared_ptr<const OpenDocument> document, std::size_t page_count)
      : document_(std::move(document)), page_count_(page_count) {}

  std::size_t page_count() const override { return page_count_; }

  std::expected<std::unique_ptr<PdfPage>, PdfError> page(std::size_t index) const override {
    if (index >= page_count_) {
      return std::unexpected(PdfError::page_out_of_range(index, page_count_));
    }
    auto lock = pdfium_lock();
    pdfium::FPDF_PAGE page =
        document_->api->FPDF_LoadPage(document_->document, static_cast<int>(index));
    if (!page) return std::unexpected(PdfError::internal("could not load the page"));
    return std::make_unique<PdfiumPage>(document_, page);
  }

 private:
  std::shared_ptr<const OpenDocument> document_;
  std::size_t page_count_;
};

}  // namespace

std::expected<std::unique_ptr<PdfDocument>, PdfError> PdfiumBackend::open(
    const std::string& path) const {
  auto api = load_pdfium(library_path_);
  if (!api) return std::unexpected(std::move(api.error()));
  auto bytes = read_file(path);
  if (!bytes) return std::unexpected(PdfError::io(path, bytes.error()));

  auto document = std::make_shared<OpenDocument>(*api, std::move(*bytes));
  int pages = 0;
  {
    auto lock = pdfium_lock();
    document->document =
        (*api)->FPDF_LoadMemDocument64(document->bytes.data(), document->bytes.size(), nullptr);
    // The error code is only meaningful right after the failed call, under the same lock.
    if (!document->document) {
      return std::unexpected(PdfError::rejected(rejection_message((*api)->FPDF_GetLastError())));
    }
    pages = (*api)->FPDF_GetPageCount(document->document);
  }
  return std::make_unique<PdfiumDocument>(std::move(document),
                                          static_cast<std::size_t>(std::max(pages, 0)));
}

}  // namespace vorlin_core
