#include "vorlin_core/backend/pdfium_text.h"

namespace vorlin_core {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool is_high_surrogate(unsigned int unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(unsigned int unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The character an entry (and, for a pair, the one after it) stands for; `pair`
// says whether the next entry was used.
char32_t decoded(std::span<const TextPageEntry> entries, std::size_t i, bool& pair) {
  pair = false;
  const TextPageEntry& entry = entries[i];
  const unsigned int unit = entry.unicode;
  if (entry.unmapped || unit == 0 || unit > 0x10FFFF || is_low_surrogate(unit)) {
    return kReplacement;
  }
  if (!is_high_surrogate(unit)) return static_cast<char32_t>(unit);
  // The low half must follow directly; a generated entry between the two
  // would mean they were never one character.
  pair = i + 1 < entries.size() && !entries[i + 1].generated && !entries[i + 1].unmapped &&
         is_low_surrogate(entries[i + 1].unicode);
  if (!pair) return kReplacement;
  return 0x10000 + ((unit - 0xD800) << 10) + (entries[i + 1].unicode - 0xDC00);
}

}  // namespace

std::vector<PdfChar> decode_text_page(std::span<const TextPageEntry> entries) {
  std::vector<PdfChar> chars;
  chars.reserve(entries.size());
  bool space_before = false;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TextPageEntry& entry = entries[i];
    if (entry.generated) {
      space_before = !chars.empty();
      continue;
    }
    bool pair = false;
    PdfChar ch = entry.look;
    ch.ch = decoded(entries, i, pair);
    ch.space_before = space_before;
    ch.line_end_hyphen = entry.hyphen;
    // PDFium reports the hyphen of a word broken at the line end as U+0002, a control character
    // that must not reach any text.
    if (entry.hyphen) ch.ch = U'-';
    if (entry.hyphen && !chars.empty()) chars.back().hyphen_after = true;
    chars.push_back(ch);
    space_before = false;
    if (pair) ++i;
  }
  return chars;
}

}  // namespace vorlin_core
