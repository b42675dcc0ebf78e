#include "vorlin_geometry/upright.h"

#include <array>
#include <cmath>

namespace vorlin_geometry {
namespace {

// A point turned `turns` quarter turns counterclockwise about `centre`.
std::pair<float, float> turn_point(float x, float y, float cx, float cy, int turns) {
  const float dx = x - cx, dy = y - cy;
  switch (turns) {
    case 1:
      return {cx - dy, cy + dx};
    case 2:
      return {cx - dx, cy - dy};
    case 3:
      return {cx + dy, cy - dx};
    default:
      return {x, y};
  }
}

BBox turn_about(const BBox& box, float cx, float cy, int turns) {
  const auto [ax, ay] = turn_point(box.x0, box.y0, cx, cy, turns);
  const auto [bx, by] = turn_point(box.x1, box.y1, cx, cy, turns);
  return BBox{std::fmin(ax, bx), std::fmin(ay, by), std::fmax(ax, bx), std::fmax(ay, by)};
}

}  // namespace

int quarter_turns(float angle) {
  if (!std::isfinite(angle)) return 0;
  const long turns = std::lround(angle / 90.0f) % 4;
  return static_cast<int>(turns < 0 ? turns + 4 : turns);
}

BBox turn_box(const BBox& box, const BBox& page, int turns) {
  turns = ((turns % 4) + 4) % 4;
  const BBox turned = turn_about(box, page.x0, page.y0, turns);
  // Shift so that the turned page starts where the page did.
  const BBox turned_page = turn_about(page, page.x0, page.y0, turns);
  const float dx = page.x0 - turned_page.x0, dy = page.y0 - turned_page.y0;
  return BBox{turned.x0 + dx, turned.y0 + dy, turned.x1 + dx, turned.y1 + dy};
}

UprightPage turn_upright(std::span<const PageChar> chars, const BBox& page) {
  std::array<std::size_t, 4> counts{};
  for (const PageChar& c : chars) ++counts[static_cast<std::size_t>(quarter_turns(c.angle))];
  UprightPage out{std::vector<PageChar>(chars.begin(), chars.end()), page, 0};
  if (counts[0] == chars.size()) return out;

  // Text running `d` quarter turns reads upright once turned back by as many.
  std::size_t dominant = 0;
  for (std::size_t d = 1; d < 4; ++d) {
    if (counts[d] > counts[dominant]) dominant = d;
  }
  const int back = static_cast<int>(4 - dominant) % 4;
  if (back != 0) {
    out.page = turn_box(page, page, back);
    out.turns = back;
    for (PageChar& c : out.chars) c.bbox = turn_box(c.bbox, page, back);
  }
  // Each remaining run of one direction turns about its first character's centre.
  std::size_t run_start = 0;
  for (std::size_t i = 0; i < out.chars.size(); ++i) {
    const int turns = (quarter_turns(chars[i].angle) + back) % 4;
    if (turns == 0) continue;
    if (i == 0 || (quarter_turns(chars[i - 1].angle) + back) % 4 != turns) run_start = i;
    const BBox& anchor = out.chars[run_start].bbox;
    out.chars[i].bbox =
        turn_about(out.chars[i].bbox, anchor.centre_x(), anchor.centre_y(), (4 - turns) % 4);
  }
  for (PageChar& c : out.chars) c.angle = 0;
  return out;
}

}  // namespace vorlin_geometry
