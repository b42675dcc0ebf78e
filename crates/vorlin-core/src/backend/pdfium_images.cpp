#include <memory>

#include "vorlin_core/backend/pdfium_page_content.h"

namespace vorlin_core {
namespace {

// Forms nested deeper than this are not searched for images: real documents
// stay far below it, and it bounds the work a hostile file can ask for.
constexpr int kMaxFormDepth = 15;

class ImageCollector {
 public:
  ImageCollector(const pdfium::PdfiumApi& api, const PageFrame& frame) : api_(api), frame_(frame) {}

  void visit(pdfium::FPDF_PAGEOBJECT object, const Affine& to_page, int depth) {
    switch (api_.FPDFPageObj_GetType(object)) {
      case pdfium::kPageObjImage:
        add_image(object, to_page);
        break;
      case pdfium::kPageObjForm:
        visit_form(object, to_page, depth);
        break;
      default:
        break;
    }
  }

  std::vector<PageImage> take() { return std::move(images_); }

 private:
  // PDFium reports a form's objects in the form's space (its /Matrix already
  // applied); the form object's matrix maps that space to where it was drawn.
  void visit_form(pdfium::FPDF_PAGEOBJECT form, const Affine& to_page, int depth) {
    if (depth >= kMaxFormDepth) return;
    pdfium::FS_MATRIX m{};
    if (!api_.FPDFPageObj_GetMatrix(form, &m)) return;
    const Affine inner = then(Affine{m.a, m.b, m.c, m.d, m.e, m.f}, to_page);
    const int count = api_.FPDFFormObj_CountObjects(form);
    for (int i = 0; i < count; ++i) {
      if (auto* child = api_.FPDFFormObj_GetObject(form, static_cast<unsigned long>(i))) {
        visit(child, inner, depth + 1);
      }
    }
  }

  void add_image(pdfium::FPDF_PAGEOBJECT object, const Affine& to_page) {
    float left = 0, bottom = 0, right = 0, top = 0;
    if (!api_.FPDFPageObj_GetBounds(object, &left, &bottom, &right, &top)) return;
    unsigned int width = 0, height = 0;
    if (!api_.FPDFImageObj_GetImagePixelSize(object, &width, &height) || width == 0 ||
        height == 0) {
      return;
    }
    const RawBox on_page = transform_box({left, bottom, right, top}, to_page);
    images_.push_back(PageImage{object, frame_.map(on_page), width, height});
  }

  const pdfium::PdfiumApi& api_;
  const PageFrame& frame_;
  std::vector<PageImage> images_;
};

}  // namespace

std::expected<PackedPixels, PdfError> decode_image(const pdfium::PdfiumApi& api,
                                                   pdfium::FPDF_PAGEOBJECT image) {
  const auto destroy = [&api](pdfium::FPDF_BITMAP bitmap) { api.FPDFBitmap_Destroy(bitmap); };
  std::unique_ptr<pdfium::FpdfBitmap, decltype(destroy)> bitmap(api.FPDFImageObj_GetBitmap(image),
                                                                 destroy);
  if (!bitmap) return std::unexpected(PdfError::internal("could not decode the image"));
  const int height = api.FPDFBitmap_GetHeight(bitmap.get());
  const int stride = api.FPDFBitmap_GetStride(bitmap.get());
  const auto* buffer = static_cast<const std::uint8_t*>(api.FPDFBitmap_GetBuffer(bitmap.get()));
  if (!buffer || height <= 0 || stride <= 0) {
    return std::unexpected(PdfError::internal("the decoded image has no pixels"));
  }
  const BitmapView view{
      api.FPDFBitmap_GetFormat(bitmap.get()),
      api.FPDFBitmap_GetWidth(bitmap.get()),
      height,
      stride,
      {buffer, static_cast<std::size_t>(stride) * static_cast<std::size_t>(height)}};
  auto pixels = pack_bitmap(view);
  if (!pixels) return std::unexpected(PdfError::internal(std::move(pixels.error())));
  return std::move(*pixels);
}

std::vector<PageImage> read_images(const LoadedPage& page, const PageFrame& frame) {
  ImageCollector collector(*page.api, frame);
  const int count = page.api->FPDFPage_CountObjects(page.page);
  for (int i = 0; i < count; ++i) {
    if (auto* object = page.api->FPDFPage_GetObject(page.page, i)) collector.visit(object, {}, 0);
  }
  return collector.take();
}

}  // namespace vorlin_core
