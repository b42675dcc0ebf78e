#include "vorlin_geometry/accents.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "vorlin_geometry/unicode.h"

namespace vorlin_geometry {
namespace {

// Spacing accents and the combining marks they stand for. ASCII look-alikes ('^', '~', '`') are
// left out: in program text they are characters of their own.
constexpr std::pair<char32_t, char32_t> kAccentMarks[] = {
    {0x00B4, 0x0301},  // acute
    {0x02CB, 0x0300},  // grave
    {0x02C6, 0x0302},  // circumflex
    {0x02DC, 0x0303},  // tilde
    {0x00AF, 0x0304},  // macron
    {0x02C9, 0x0304},  // modifier macron
    {0x02D8, 0x0306},  // breve
    {0x02D9, 0x0307},  // dot above
    {0x00A8, 0x0308},  // diaeresis
    {0x02DA, 0x030A},  // ring above
    {0x02DD, 0x030B},  // double acute
    {0x02C7, 0x030C},  // caron
    {0x00B8, 0x0327},  // cedilla
    {0x02DB, 0x0328},  // ogonek
};

// The combining mark of a spacing accent, 0 for any other character.
char32_t combining_mark(char32_t ch) {
  if (ch < 0xA8) return 0;  // the common case, text
  for (const auto& [accent, mark] : kAccentMarks) {
    if (accent == ch) return mark;
  }
  return 0;
}

// Letters before an accent that may carry it: TeX sets a capital's accent after the next letter,
// and PDFium may put a generated space between a letter and its accent.
constexpr std::size_t kLettersBack = 2;

// TeX puts accents above the dotless forms.
char32_t undotted(char32_t ch) {
  if (ch == 0x0131) return U'i';
  if (ch == 0x0237) return U'j';
  return ch;
}

// The precomposed letter, or 0 when Unicode has none or the accent is not over the letter.
char32_t composed(const PageChar& letter, const PageChar& accent) {
  if (!is_alphabetic(letter.ch)) return 0;
  const float centre = accent.bbox.centre_x();
  const float slack = 0.25f * letter.bbox.width();
  // Written so that NaN coordinates fold nothing.
  if (!(centre >= letter.bbox.x0 - slack && centre <= letter.bbox.x1 + slack)) return 0;
  return unicode::compose_pair(undotted(letter.ch), combining_mark(accent.ch));
}

// Share of an accent's height its letter's box must share with it when the accent is found by
// position alone: TeX may draw a capital's accent at the end of the line, after other words.
constexpr float kAccentOverlap = 0.5f;

// The letter of `chars` that `accent` sits over and composes with, the nearest by centre if two
// do; none when no letter qualifies.
std::optional<std::size_t> letter_under(std::span<const PageChar> chars, const PageChar& accent) {
  std::optional<std::size_t> best;
  float best_distance = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const BBox& box = chars[i].bbox;
    const float overlap = std::min(box.y1, accent.bbox.y1) - std::max(box.y0, accent.bbox.y0);
    // Written so that NaN coordinates find nothing.
    if (!(overlap >= kAccentOverlap * accent.bbox.height()) || !composed(chars[i], accent)) continue;
    const float distance = std::fabs(box.centre_x() - accent.bbox.centre_x());
    if (!best || distance < best_distance) {
      best = i;
      best_distance = distance;
    }
  }
  return best;
}

}  // namespace

bool is_spacing_accent(char32_t ch) { return combining_mark(ch) != 0; }

std::vector<PageChar> fold_accents(std::span<const PageChar> chars) {
  std::vector<PageChar> out;
  out.reserve(chars.size());
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const PageChar& c = chars[i];
    if (!is_spacing_accent(c.ch)) {
      out.push_back(c);
      continue;
    }
    // One of the letters before, already copied, or the one after.
    bool folded = false;
    for (std::size_t back = 1; back <= std::min(kLettersBack, out.size()) && !folded; ++back) {
      if (const char32_t letter = composed(out[out.size() - back], c)) {
        out[out.size() - back].ch = letter;
        folded = true;
      }
    }
    if (folded) continue;
    if (i + 1 < chars.size()) {
      if (const char32_t letter = composed(chars[i + 1], c)) {
        out.push_back(chars[i + 1]);
        out.back().ch = letter;
        ++i;
        continue;
      }
    }
    out.push_back(c);
  }
  // Accents no neighbour took, sought by position; rare, so each scans the page.
  std::vector<bool> taken(out.size(), false);
  bool any = false;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (!is_spacing_accent(out[i].ch)) continue;
    if (const std::optional<std::size_t> letter = letter_under(out, out[i])) {
      out[*letter].ch = composed(out[*letter], out[i]);
      taken[i] = any = true;
    }
  }
  if (!any) return out;
  std::vector<PageChar> kept;
  kept.reserve(out.size());
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (!taken[i]) kept.push_back(std::move(out[i]));
  }
  return kept;
}

}  // namespace vorlin_geometry
