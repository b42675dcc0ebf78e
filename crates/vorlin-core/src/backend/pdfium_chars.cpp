#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "vorlin_core/backend/font_look.h"
#include "vorlin_core/backend/pdfium_page_content.h"
#include "vorlin_core/backend/pdfium_text.h"

namespace vorlin_core {
namespace {

// The character's type size and direction from its matrix. Producers often write `1 Tf` and
// scale through the text matrix, so the size that matters is the nominal size times the matrix's
// vertical scale. The direction is the baseline's in unrotated user space, counterclockwise
// (FPDFText_GetCharAngle gives the same angle clockwise, for the price of another call); the
// page's /Rotate turns it clockwise on the way to the visible page. The nominal size is the text
// object's and runs of characters share their matrix's linear part, so each is asked for, and the
// trigonometry redone, only when it changes.
class SizeAndAngle {
 public:
  SizeAndAngle(const pdfium::PdfiumApi& api, pdfium::FPDF_TEXTPAGE text, int rotation)
      : api_(api), text_(text), rotation_(rotation) {}

  void read(int index, pdfium::FPDF_PAGEOBJECT object, PdfChar& ch) {
    if (!nominal_known_ || object != object_) {
      object_ = object;
      nominal_known_ = true;
      nominal_ = api_.FPDFText_GetFontSize(text_, index);
    }
    const double nominal = nominal_;
    pdfium::FS_MATRIX matrix{};
    if (!api_.FPDFText_GetMatrix(text_, index, &matrix)) {
      ch.font_size = static_cast<float>(nominal);
      return;
    }
    // Compared bit for bit: a NaN never equals itself, and -0 must not pass for +0.
    const float linear[4] = {matrix.a, matrix.b, matrix.c, matrix.d};
    if (!known_ || std::memcmp(linear, linear_, sizeof linear) != 0) {
      std::memcpy(linear_, linear, sizeof linear);
      known_ = true;
      scale_ = std::hypot(double{matrix.c}, double{matrix.d});
      double degrees = std::atan2(double{matrix.b}, double{matrix.a}) * 180.0 / std::numbers::pi -
                       90.0 * rotation_;
      degrees = std::fmod(degrees, 360.0);
      if (degrees < 0) degrees += 360.0;
      // Rounding can land exactly on 360; NaN (a degenerate matrix) reads as upright.
      angle_ = degrees >= 0 && degrees < 360 ? static_cast<float>(degrees) : 0.0f;
    }
    ch.font_size = static_cast<float>(nominal * scale_);
    ch.angle = angle_;
  }

 private:
  const pdfium::PdfiumApi& api_;
  pdfium::FPDF_TEXTPAGE text_;
  int rotation_;
  bool nominal_known_ = false;
  pdfium::FPDF_PAGEOBJECT object_ = nullptr;
  double nominal_ = 0;
  bool known_ = false;
  float linear_[4] = {};
  double scale_ = 0;
  float angle_ = 0;
};

// The look of the text object a character comes from. Consecutive characters almost always share
// their object, and objects share a handful of fonts, so each is asked for once.
class LookCache {
 public:
  LookCache(const pdfium::PdfiumApi& api, pdfium::FPDF_TEXTPAGE text) : api_(api), text_(text) {}

  void apply(int index, pdfium::FPDF_PAGEOBJECT object, PdfChar& ch) {
    if (fonts_.empty() || object != object_) {
      object_ = object;
      const int mode = object ? api_.FPDFTextObj_GetTextRenderMode(object) : 0;
      invisible_ = mode == pdfium::kTextRenderInvisible || mode == pdfium::kTextRenderClip;
      fill_stroke_ = mode == pdfium::kTextRenderFillStroke;
      font_ = font_of(object ? api_.FPDFTextObj_GetFont(object) : nullptr, index);
    }
    const Font& font = fonts_[font_];
    ch.font_id = font.look.id;
    ch.font_weight = font.weight;
    ch.bold = font.look.bold || fill_stroke_;
    ch.italic = font.look.italic;
    ch.monospace = font.look.monospace;
    ch.small_caps = font.look.small_caps;
    ch.math = font.look.math;
    ch.invisible = invisible_;
  }

 private:
  struct Font {
    pdfium::FPDF_FONT handle;
    FontLook look;
    std::int16_t weight;
  };

  // The index in fonts_ of the font of the character at `index`, whose object uses `handle`.
  std::size_t font_of(pdfium::FPDF_FONT handle, int index) {
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
      if (fonts_[i].handle == handle) return i;
    }
    std::string name(64, '\0');
    int flags = 0;
    unsigned long length =
        api_.FPDFText_GetFontInfo(text_, index, name.data(), name.size(), &flags);
    if (length > name.size()) {
      name.resize(length);
      length = api_.FPDFText_GetFontInfo(text_, index, name.data(), name.size(), &flags);
    }
    name.resize(length > 0 && length <= name.size() ? length - 1 : 0);  // less the terminator
    int italic_angle = 0;
    if (!handle || !api_.FPDFFont_GetItalicAngle(handle, &italic_angle)) italic_angle = 0;
    const int weight = api_.FPDFText_GetFontWeight(text_, index);
    fonts_.push_back(Font{handle, font_look(name, flags, italic_angle),
                          static_cast<std::int16_t>(weight > 0 && weight < 1000 ? weight : 0)});
    return fonts_.size() - 1;
  }

  const pdfium::PdfiumApi& api_;
  pdfium::FPDF_TEXTPAGE text_;
  std::vector<Font> fonts_;
  pdfium::FPDF_PAGEOBJECT object_ = nullptr;
  std::size_t font_ = 0;
  bool invisible_ = false;
  bool fill_stroke_ = false;
};

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
  LookCache looks(api, text.get());
  SizeAndAngle sizes(api, text.get(), frame.rotation);
  for (int i = 0; i < count; ++i) {
    TextPageEntry& entry = entries[static_cast<std::size_t>(i)];
    entry.unicode = api.FPDFText_GetUnicode(text.get(), i);
    entry.generated = api.FPDFText_IsGenerated(text.get(), i) == 1;
    if (entry.generated) continue;  // a signal only; skip the remaining calls
    entry.unmapped = api.FPDFText_HasUnicodeMapError(text.get(), i) == 1;
    // PDFium reports its line-end hyphens as U+0002; only they and real hyphens need asking.
    if (entry.unicode == 0x2 || entry.unicode == '-' || entry.unicode == 0xAD) {
      entry.hyphen = api.FPDFText_IsHyphen(text.get(), i) == 1;
    }
    PdfChar& look = entry.look;
    pdfium::FS_RECTF loose{};
    if (api.FPDFText_GetLooseCharBox(text.get(), i, &loose)) {
      const RawBox box = frame.map({loose.left, loose.bottom, loose.right, loose.top});
      look.x0 = static_cast<float>(box.x0);
      look.y0 = static_cast<float>(box.y0);
      look.x1 = static_cast<float>(box.x1);
      look.y1 = static_cast<float>(box.y1);
    }
    pdfium::FPDF_PAGEOBJECT object = api.FPDFText_GetTextObject(text.get(), i);
    sizes.read(i, object, look);
    looks.apply(i, object, look);
  }
  return decode_text_page(entries);
}

}  // namespace vorlin_core
