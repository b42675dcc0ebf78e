#include "vorlin_geometry/lone_bullets.h"

#include <algorithm>
#include <optional>

#include "vorlin_geometry/list_markers.h"
#include "vorlin_geometry/word_line.h"

namespace vorlin_geometry {

namespace {

constexpr float kReachInLineHeights = 3.0f;

bool is_lone_bullet(const TextLine& line, std::span<const PageChar> chars) {
  std::optional<char32_t> visible;
  for (std::size_t p : line.char_indices) {
    const char32_t ch = char_at(chars, p).ch;
    if (is_whitespace(ch)) continue;
    if (visible) return false;
    visible = ch;
  }
  return visible && is_bullet_glyph(*visible);
}

// The item line for the bullet line `b`, if any line qualifies.
std::optional<std::size_t> item_for(std::size_t b, std::span<const TextLine> lines,
                                    const std::vector<bool>& bullets,
                                    const std::vector<bool>& taken) {
  const BBox& bullet = lines[b].bbox;
  const float y = bullet.centre_y();
  std::optional<std::size_t> best;
  float best_distance = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (bullets[i] || taken[i]) continue;
    const BBox& line = lines[i].bbox;
    const float distance = line.x0 - bullet.x1;
    // Written so that a NaN anywhere rejects the candidate.
    const bool beside = y >= line.y0 && y <= line.y1 && line.x0 >= bullet.x0 &&
                        distance <= kReachInLineHeights * line.height();
    if (beside && (!best || distance < best_distance)) {
      best = i;
      best_distance = distance;
    }
  }
  return best;
}

}  // namespace

std::vector<TextLine> attach_lone_bullets(std::vector<TextLine> lines,
                                          std::span<const PageChar> chars) {
  std::vector<bool> bullets(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) bullets[i] = is_lone_bullet(lines[i], chars);
  if (std::ranges::find(bullets, true) == bullets.end()) return lines;

  std::vector<bool> taken(lines.size(), false);
  std::vector<std::optional<std::size_t>> bullet_of(lines.size());
  std::vector<bool> attached(lines.size(), false);
  for (std::size_t b = 0; b < lines.size(); ++b) {
    if (!bullets[b]) continue;
    if (const std::optional<std::size_t> item = item_for(b, lines, bullets, taken)) {
      taken[*item] = true;
      bullet_of[*item] = b;
      attached[b] = true;
    }
  }

  std::vector<TextLine> out;
  out.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (attached[i]) continue;
    if (bullet_of[i]) absorb_line(lines[i], lines[*bullet_of[i]], chars);
    out.push_back(std::move(lines[i]));
  }
  return out;
}

}  // namespace vorlin_geometry
