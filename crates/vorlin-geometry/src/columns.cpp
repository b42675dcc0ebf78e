#include "vorlin_geometry/columns.h"

#include <algorithm>
#include <cmath>

namespace vorlin_geometry {

namespace {

bool holds(const Gutter& g, float y) { return y >= g.bottom && y <= g.top; }

// A piece of a line being cut, built while its characters are dealt out.
struct Piece {
  std::vector<std::size_t> positions;
  BBox bbox;
  float y0_sum = -0.0f;

  void add(std::size_t p, const PageChar& c) {
    bbox = positions.empty() ? c.bbox : BBox::union_of(bbox, c.bbox);
    positions.push_back(p);
    y0_sum += c.bbox.y0;
  }
};

// Deals the line's characters out to the pieces between `cuts` (ascending) in one pass, or
// returns false when a visible character reaches into the strip of gutter `gutters[k]` behind
// cut k, since that gutter then does not hold for this line.
bool deal(const TextLine& line, std::span<const PageChar> chars, std::span<const float> cuts,
          std::span<const Gutter* const> strips, std::vector<Piece>& pieces,
          std::vector<bool>& crossed) {
  pieces.assign(cuts.size() + 1, Piece{});
  for (Piece& piece : pieces) piece.positions.reserve(line.char_indices.size());
  for (std::size_t p : line.char_indices) {
    const PageChar& c = char_at(chars, p);
    if (!is_whitespace(c.ch)) {
      for (std::size_t k = 0; k < strips.size(); ++k) {
        if (c.bbox.x0 < strips[k]->x1 && c.bbox.x1 > strips[k]->x0) crossed[k] = true;
      }
    }
    const float x = c.bbox.centre_x();
    const auto piece = std::ranges::count_if(cuts, [&](float cut) { return x >= cut; });
    pieces[static_cast<std::size_t>(piece)].add(p, c);
  }
  return std::ranges::find(crossed, true) == crossed.end();
}

}  // namespace

ColumnLayout column_layout(std::span<const Gutter> gutters) {
  std::vector<Gutter> sorted(gutters.begin(), gutters.end());
  std::erase_if(sorted, [](const Gutter& g) {
    return !std::isfinite(g.top) || !std::isfinite(g.bottom) || !std::isfinite(g.middle());
  });
  std::ranges::stable_sort(sorted, [](const Gutter& l, const Gutter& r) { return l.top > r.top; });
  ColumnLayout layout;
  for (const Gutter& g : sorted) {
    if (!layout.sections.empty() && g.top >= layout.sections.back().bottom) {
      ColumnSection& section = layout.sections.back();
      section.bottom = std::min(section.bottom, g.bottom);
      section.splits.push_back(g.middle());
    } else {
      layout.sections.push_back(ColumnSection{g.bottom, g.top, {g.middle()}});
    }
  }
  for (ColumnSection& section : layout.sections) std::ranges::sort(section.splits);
  return layout;
}

ColumnSlot locate(const ColumnLayout& layout, const BBox& box) {
  const float y = box.centre_y();
  const float x = box.centre_x();
  if (!std::isfinite(y) || !std::isfinite(x)) return {};
  std::uint32_t above = 0;
  for (const ColumnSection& section : layout.sections) {
    if (y > section.top) break;
    if (y >= section.bottom) {
      const auto column = std::ranges::count_if(section.splits, [&](float s) { return s < x; });
      return ColumnSlot{2 * above + 1, static_cast<std::uint32_t>(column)};
    }
    ++above;
  }
  return ColumnSlot{2 * above, 0};
}

std::vector<TextLine> split_at_gutters(std::vector<TextLine> lines, std::span<const PageChar> chars,
                                       std::span<const Gutter> gutters) {
  std::vector<TextLine> out;
  out.reserve(lines.size());
  std::vector<const Gutter*> strips;
  std::vector<float> cuts;
  std::vector<Piece> pieces;
  std::vector<bool> crossed;
  for (TextLine& line : lines) {
    const float y = line.bbox.centre_y();
    strips.clear();
    for (const Gutter& g : gutters) {
      if (holds(g, y)) strips.push_back(&g);
    }
    // Usually every strip holds and one pass suffices; a crossed strip is dropped and the
    // line dealt out again over the others.
    while (!strips.empty() && !line.char_indices.empty()) {
      std::ranges::stable_sort(strips, [](const Gutter* l, const Gutter* r) {
        return float_less_nan_last(l->middle(), r->middle());
      });
      cuts.clear();
      for (const Gutter* g : strips) cuts.push_back(g->middle());
      crossed.assign(strips.size(), false);
      if (deal(line, chars, cuts, strips, pieces, crossed)) break;
      std::vector<const Gutter*> kept;
      for (std::size_t k = 0; k < strips.size(); ++k) {
        if (!crossed[k]) kept.push_back(strips[k]);
      }
      strips.swap(kept);
    }
    if (strips.empty() || line.char_indices.empty()) {
      out.push_back(std::move(line));
      continue;
    }
    for (Piece& piece : pieces) {
      if (piece.positions.empty()) continue;
      const float mean_y0 = piece.y0_sum / static_cast<float>(piece.positions.size());
      out.push_back(TextLine{std::move(piece.positions), piece.bbox, mean_y0});
    }
  }
  return out;
}

}  // namespace vorlin_geometry
