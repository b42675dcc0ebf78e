#include "vorlin_core/backend/pdfium_text.h"

namespace vorlin_core {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool is_high_surrogate(unsigned int unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(unsigned int unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

PdfChar with_box(const TextPageEntry& entry, char32_t ch) {
  return PdfChar{ch, entry.x0, entry.y0, entry.x1, entry.y1, entry.font_size};
}

}  // namespace

std::vector<PdfChar> decode_text_page(std::span<const TextPageEntry> entries) {
  std::vector<PdfChar> chars;
  chars.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TextPageEntry& entry = entries[i];
    if (entry.generated) continue;
    const unsigned int unit = entry.unicode;
    if (entry.unmapped || unit == 0 || unit > 0x10FFFF || is_low_surrogate(unit)) {
      chars.push_back(with_box(entry, kReplacement));
      continue;
    }
    if (!is_high_surrogate(unit)) {
      chars.push_back(with_box(entry, static_cast<char32_t>(unit)));
      continue;
    }
    // The low half must follow directly; a generated entry between the two
    // would mean they were never one character.
    const bool paired = i + 1 < entries.size() && !entries[i + 1].generated &&
                        !entries[i + 1].unmapped && is_low_surrogate(entries[i + 1].unicode);
    if (!paired) {
      chars.push_back(with_box(entry, kReplacement));
      continue;
    }
    const unsigned int low = entries[i + 1].unicode;
    chars.push_back(with_box(entry, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
    ++i;
  }
  return chars;
}

}  // namespace vorlin_core
