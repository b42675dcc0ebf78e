#include "vorlin_geometry/stray_letters.h"

#include <algorithm>
#include <optional>

#include "vorlin_geometry/word_line.h"

namespace vorlin_geometry {

namespace {

constexpr std::size_t kMaxStrayChars = 2;
// Share of a stray's height its line must share with it.
constexpr float kStrayOverlap = 0.5f;

// Letters only: a raised digit or symbol is a note mark, which belongs beside its word, not in it.
bool is_stray(const TextLine& line, std::span<const PageChar> chars) {
  std::size_t visible = 0;
  for (std::size_t p : line.char_indices) {
    const char32_t ch = char_at(chars, p).ch;
    if (is_whitespace(ch)) continue;
    if (!is_alphabetic(ch) || ++visible > kMaxStrayChars) return false;
  }
  return visible > 0;
}

// The share of `box`'s height that `line` covers; NaN when either is unknown.
float covered_share(const BBox& box, const BBox& line) {
  return (std::min(box.y1, line.y1) - std::max(box.y0, line.y0)) / box.height();
}

// The line that the stray line `s` belongs to, if any qualifies.
std::optional<std::size_t> host_of(std::size_t s, std::span<const TextLine> lines,
                                   const std::vector<bool>& strays) {
  const BBox& stray = lines[s].bbox;
  std::optional<std::size_t> best;
  float best_share = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (strays[i]) continue;
    const BBox& line = lines[i].bbox;
    const float share = covered_share(stray, line);
    // Written so that a NaN anywhere rejects the candidate.
    const bool inside = stray.x0 >= line.x0 && stray.x0 <= line.x1 && share >= kStrayOverlap;
    if (inside && (!best || share > best_share)) {
      best = i;
      best_share = share;
    }
  }
  return best;
}

// Whether `a` and `b` are stacked: one over the other, sharing some width but no height, like
// the parts of a fraction or a limit under its operator.
bool stacked(const BBox& a, const BBox& b) {
  return std::min(a.x1, b.x1) > std::max(a.x0, b.x0) && (a.y0 >= b.y1 || b.y0 >= a.y1);
}

// Whether any character of `stray` is stacked with one of `line`.
bool stacked_with(const TextLine& stray, const TextLine& line, std::span<const PageChar> chars) {
  return std::ranges::any_of(stray.char_indices, [&](std::size_t s) {
    return std::ranges::any_of(line.char_indices, [&](std::size_t p) {
      return stacked(chars[s].bbox, chars[p].bbox);
    });
  });
}

}  // namespace

std::vector<TextLine> attach_stray_letters(std::vector<TextLine> lines,
                                           std::span<const PageChar> chars) {
  std::vector<bool> strays(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) strays[i] = is_stray(lines[i], chars);
  if (std::ranges::find(strays, true) == strays.end()) return lines;

  std::vector<std::optional<std::size_t>> hosts(lines.size());
  for (std::size_t s = 0; s < lines.size(); ++s) {
    if (strays[s]) hosts[s] = host_of(s, lines, strays);
  }
  // A stray stacked with its line's letters or with another stray of that line is one part of
  // a fraction, not a letter out of place.
  std::vector<bool> attached(lines.size(), false);
  for (std::size_t s = 0; s < lines.size(); ++s) {
    if (!hosts[s]) continue;
    bool apart = stacked_with(lines[s], lines[*hosts[s]], chars);
    for (std::size_t t = 0; t < lines.size() && !apart; ++t) {
      apart = t != s && hosts[t] == hosts[s] && stacked_with(lines[s], lines[t], chars);
    }
    if (apart) continue;
    attached[s] = true;
  }
  for (std::size_t s = 0; s < lines.size(); ++s) {
    if (attached[s]) absorb_line(lines[*hosts[s]], lines[s], chars);
  }

  std::vector<TextLine> out;
  out.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!attached[i]) out.push_back(std::move(lines[i]));
  }
  return out;
}

}  // namespace vorlin_geometry
