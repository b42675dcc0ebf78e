#include <memory>

#include "vorlin_core/backend/pdfium_page_content.h"

namespace vorlin_core {

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
  std::vector<PageImage> images;
  const pdfium::PdfiumApi& api = *page.api;
  for_each_page_object(page, pdfium::kPageObjImage, [&](auto object, const Affine& to_page) {
    float left = 0, bottom = 0, right = 0, top = 0;
    if (!api.FPDFPageObj_GetBounds(object, &left, &bottom, &right, &top)) return;
    unsigned int width = 0, height = 0;
    if (!api.FPDFImageObj_GetImagePixelSize(object, &width, &height) || width == 0 ||
        height == 0) {
      return;
    }
    const RawBox on_page = transform_box({left, bottom, right, top}, to_page);
    images.push_back(PageImage{object, frame.map(on_page), width, height});
  });
  return images;
}

}  // namespace vorlin_core
