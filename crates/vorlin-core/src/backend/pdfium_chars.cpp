#include <cmath>
#include <memory>

#include "vorlin_core/backend/pdfium_page_content.h"
#include "vorlin_core/backend/pdfium_text.h"

namespace vorlin_core {
namespace {

// Producers often write `1 Tf` and scale through the text matrix, so the size
// that matters is the nominal size times the matrix's vertical scale.
float effective_font_size(const pdfium::PdfiumApi& api, pdfium::FPDF_TEXTPAGE text, int index) {
  const double nominal = api.FPDFText_GetFontSize(text, index);
  pdfium::FS_MATRIX matrix{};
  if (!api.FPDFText_GetMatrix(text, index, &matrix)) return static_cast<float>(nominal);
  return static_cast<float>(nominal * std::hypot(double{matrix.c}, double{matrix.d}));
}

}  // namespace

std::expected<std::vector<PdfChar>, PdfError> read_chars(const LoadedPage& page,
                                                         const PageFrame& frame) {
  const pdfium::PdfiumApi& api = *page.api;
  const auto close = [&api](pdfium::FPDF_TEXTPAGE text) { api.FPDFText_ClosePage(text); };
  std::unique_ptr<pdfium::FpdfTextPage, decltype(close)> text(api.FPDFText_LoadPage(page.page),
                                                              close);
  if (!text) return std::unexpected(PdfError::internal("could not load the text of the page"));
  const int count = api.FPDFText_CountChars(text.get());
  if (count < 0) {
    return std::unexpected(PdfError::internal("could not count the page's characters"));
  }

  std::vector<TextPageEntry> entries(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    TextPageEntry& entry = entries[static_cast<std::size_t>(i)];
    entry.unicode = api.FPDFText_GetUnicode(text.get(), i);
    entry.generated = api.FPDFText_IsGenerated(text.get(), i) == 1;
    if (entry.generated) continue;  // dropped anyway; skip the remaining calls
    entry.unmapped = api.FPDFText_HasUnicodeMapError(text.get(), i) == 1;
    pdfium::FS_RECTF loose{};
    if (api.FPDFText_GetLooseCharBox(text.get(), i, &loose)) {
      const RawBox box = frame.map({loose.left, loose.bottom, loose.right, loose.top});
      entry.x0 = static_cast<float>(box.x0);
      entry.y0 = static_cast<float>(box.y0);
      entry.x1 = static_cast<float>(box.x1);
      entry.y1 = static_cast<float>(box.y1);
    }
    entry.font_size = effective_font_size(api, text.get(), i);
  }
  return decode_text_page(entries);
}

}  // namespace vorlin_core
