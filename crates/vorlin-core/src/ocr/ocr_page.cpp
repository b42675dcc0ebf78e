#include "vorlin_core/ocr/ocr_page.h"

#include <algorithm>

#include "vorlin_geometry/utf8.h"

namespace vorlin_core {
namespace {

constexpr float kPointsPerInch = 72;

// Shares of the type size in common text faces: baseline to the top of the ascenders, and the
// whole height from ascenders to descenders. A line lacking either still gets its size from
// the other.
constexpr float kAscentPerEm = 0.72f;
constexpr float kInkPerEm = 0.9f;
// The band a letter's box covers around the baseline, as a share of the size.
constexpr float kBoxAscent = 0.75f;
constexpr float kBoxDescent = 0.25f;

}  // namespace

OcrPage ocr_page(std::span<const OcrWord> words, float dpi, float page_height) {
  const float points = dpi > 0 ? kPointsPerInch / dpi : 1.0f;
  OcrPage page;
  for (const OcrWord& word : words) {
    const std::u32string letters = vorlin_geometry::decode_utf8(word.text);
    if (letters.empty()) continue;
    const float size_px = std::max((word.baseline - word.line_top) / kAscentPerEm,
                                   (word.line_bottom - word.line_top) / kInkPerEm);
    const float size = size_px * points;
    const float y0 = page_height - (word.baseline + kBoxDescent * size_px) * points;
    const float y1 = page_height - (word.baseline - kBoxAscent * size_px) * points;
    const float x0 = word.left * points;
    const float step = (word.right - word.left) * points / static_cast<float>(letters.size());
    for (std::size_t i = 0; i < letters.size(); ++i) {
      PdfChar c;
      c.ch = letters[i];
      c.x0 = x0 + step * static_cast<float>(i);
      c.x1 = c.x0 + step;
      c.y0 = y0;
      c.y1 = y1;
      c.font_size = size;
      c.space_before = i == 0 && !word.line_start;
      page.chars.push_back(c);
    }
    page.words.push_back(OcrBox{{x0, page_height - word.bottom * points,
                                 word.right * points, page_height - word.top * points},
                                word.confidence});
  }
  return page;
}

}  // namespace vorlin_core
