#include "vorlin_geometry/gutters.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "vorlin_geometry/float_rules.h"

namespace vorlin_geometry {

namespace {

constexpr float kMinGutterEm = 0.6f;
constexpr float kWideTextEm = 5.0f;
constexpr float kFlushEm = 1.0f;
constexpr std::uint32_t kMinLinesEachSide = 3;
constexpr float kDefaultEm = 10.0f;

struct Interval {
  float a = 0;
  float b = 0;
  float width() const { return b - a; }
};

// A line (with text) or an obstacle (without), as occupied horizontal intervals.
struct Item {
  std::vector<Interval> segments;
  BBox box;
  bool has_text = false;
};

// A strip free on every item from `first` to `last`.
struct Candidate {
  Interval strip;
  std::size_t first = 0;
  std::size_t last = 0;
};

bool finite_box(const BBox& b) {
  return std::isfinite(b.x0) && std::isfinite(b.x1) && std::isfinite(b.y0) && std::isfinite(b.y1);
}

// The typical type size: the upper median over the lines of each line's first valid size. One
// size a line is as telling as every character's here, and far cheaper.
float page_em(std::span<const TextLine> lines, std::span<const PageChar> chars) {
  std::vector<float> sizes;
  sizes.reserve(lines.size());
  for (const TextLine& line : lines) {
    for (std::size_t p : line.char_indices) {
      const PageChar& c = char_at(chars, p);
      if (is_whitespace(c.ch) || !is_valid_size(c.font_size)) continue;
      sizes.push_back(c.font_size);
      break;
    }
  }
  return upper_median(sizes).value_or(kDefaultEm);
}

// Occupied intervals of a line's visible characters. A gap is free space only when it is at least
// `min_width` and at least 0.6 x the size of the smaller of the two characters beside it: a large
// title's word spaces are wider than a column gutter set in body type, yet are no gutter.
std::vector<Interval> line_segments(const TextLine& line, std::span<const PageChar> chars,
                                    float min_width, float em) {
  struct Piece {
    Interval span;
    float size;
  };
  std::vector<Piece> pieces;
  pieces.reserve(line.char_indices.size());
  bool sorted = true;
  for (std::size_t p : line.char_indices) {
    const PageChar& c = char_at(chars, p);
    // One test for both edges: the difference is finite only when both are (or it overflows,
    // for a box no page has).
    if (!std::isfinite(c.bbox.x1 - c.bbox.x0) || is_whitespace(c.ch)) continue;
    const Interval span{std::min(c.bbox.x0, c.bbox.x1), std::max(c.bbox.x0, c.bbox.x1)};
    sorted = sorted && (pieces.empty() || pieces.back().span.a <= span.a);
    pieces.push_back({span, c.font_size});
  }
  // Grouped lines already run left to right; only a line built some other way needs sorting.
  if (!sorted) {
    std::ranges::stable_sort(pieces,
                             [](const Piece& l, const Piece& r) { return l.span.a < r.span.a; });
  }
  const auto size_of = [em](float size) { return is_valid_size(size) ? size : em; };
  std::vector<Interval> merged;
  float last_size = 0;
  for (const Piece& piece : pieces) {
    const float gap = merged.empty() ? 0 : piece.span.a - merged.back().b;
    // Only a gap wide enough to be free space at all needs the sizes beside it.
    const bool joined =
        !merged.empty() &&
        (gap < min_width || gap < kMinGutterEm * std::min(size_of(last_size), size_of(piece.size)));
    if (joined) {
      merged.back().b = std::max(merged.back().b, piece.span.b);
    } else {
      merged.push_back(piece.span);
    }
    last_size = piece.size;
  }
  return merged;
}

// Items top to bottom by the centre of their boxes.
std::vector<Item> sweep_items(std::span<const TextLine> lines, std::span<const PageChar> chars,
                              std::span<const BBox> obstacles, float em) {
  std::vector<Item> items;
  for (const TextLine& line : lines) {
    std::vector<Interval> segments = line_segments(line, chars, kMinGutterEm * em, em);
    if (segments.empty() || !finite_box(line.bbox)) continue;
    items.push_back(Item{std::move(segments), line.bbox, true});
  }
  for (const BBox& box : obstacles) {
    if (!finite_box(box)) continue;
    items.push_back(Item{{{std::min(box.x0, box.x1), std::max(box.x0, box.x1)}}, box, false});
  }
  std::ranges::stable_sort(
      items, [](const Item& l, const Item& r) { return l.box.centre_y() > r.box.centre_y(); });
  return items;
}

// Free stretches of an item inside the text's horizontal extent [left, right].
std::vector<Interval> free_intervals(const Item& item, float left, float right, float min_width) {
  std::vector<Interval> free;
  float start = left;
  for (const Interval& s : item.segments) {
    if (s.a - start >= min_width) free.push_back({start, s.a});
    start = std::max(start, s.b);
  }
  if (right - start >= min_width) free.push_back({start, right});
  return free;
}

// How the text beside a strip looks over its run.
struct Sides {
  std::uint32_t lines = 0;    // lines with text on this side
  std::uint32_t wide = 0;     // ... whose text next to the strip is wide
  std::uint32_t aligned = 0;  // ... whose text next to the strip reaches it
};

bool looks_like_column(const Sides& side) {
  return side.lines >= kMinLinesEachSide && 2 * side.wide >= side.lines;
}

// Columns have text on both sides, wide on both, and flush with the strip on at least one side
// (justified text, or a column's left edge); a wrapped title's word gaps or a ragged line end
// lined up with a paragraph's margin are not.
bool separates_columns(const std::vector<Item>& items, const Candidate& c, float em) {
  Sides left, right;
  for (std::size_t i = c.first; i <= c.last; ++i) {
    const Item& item = items[i];
    if (!item.has_text) continue;
    const Interval* before = nullptr;
    const Interval* after = nullptr;
    for (const Interval& s : item.segments) {
      if (s.b <= c.strip.a) before = &s;
      if (s.a >= c.strip.b && after == nullptr) after = &s;
    }
    if (before != nullptr) {
      ++left.lines;
      left.wide += before->width() >= kWideTextEm * em ? 1 : 0;
      left.aligned += c.strip.a - before->b <= kFlushEm * em ? 1 : 0;
    }
    if (after != nullptr) {
      ++right.lines;
      right.wide += after->width() >= kWideTextEm * em ? 1 : 0;
      right.aligned += after->a - c.strip.b <= kFlushEm * em ? 1 : 0;
    }
  }
  return looks_like_column(left) && looks_like_column(right) &&
         (2 * left.aligned >= left.lines || 2 * right.aligned >= right.lines);
}

// Drops every candidate whose strip lies inside the strip of one that started no later: it is
// free only where that one is, so it can only end sooner.
void drop_dominated(std::vector<Candidate>& open) {
  std::ranges::stable_sort(open, [](const Candidate& l, const Candidate& r) {
    if (l.first != r.first) return l.first < r.first;
    return l.strip.width() > r.strip.width();
  });
  std::vector<Candidate> kept;
  for (const Candidate& c : open) {
    const bool dominated = std::ranges::any_of(
        kept, [&](const Candidate& k) { return k.strip.a <= c.strip.a && k.strip.b >= c.strip.b; });
    if (!dominated) kept.push_back(c);
  }
  open = std::move(kept);
}

// Runs that qualify, possibly overlapping one another.
std::vector<Candidate> qualifying_runs(const std::vector<Item>& items, float em) {
  const float min_width = kMinGutterEm * em;
  float left = std::numeric_limits<float>::infinity();
  float right = -left;
  for (const Item& item : items) {
    if (!item.has_text) continue;
    left = std::min(left, item.segments.front().a);
    right = std::max(right, item.segments.back().b);
  }
  std::vector<Candidate> found;
  const auto close = [&](const Candidate& c) {
    if (c.last - c.first + 1 >= kMinLinesEachSide && separates_columns(items, c, em)) {
      found.push_back(c);
    }
  };
  std::vector<Candidate> open;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::vector<Interval> free = free_intervals(items[i], left, right, min_width);
    std::vector<Candidate> next;
    for (const Candidate& c : open) {
      bool continued = false;
      for (const Interval& f : free) {
        const Interval piece{std::max(c.strip.a, f.a), std::min(c.strip.b, f.b)};
        if (!(piece.width() >= min_width)) continue;
        next.push_back(Candidate{piece, c.first, i});
        continued = true;
      }
      if (!continued) close(c);
    }
    for (const Interval& f : free) next.push_back(Candidate{f, i, i});
    drop_dominated(next);
    open = std::move(next);
  }
  for (const Candidate& c : open) close(c);
  return found;
}

// Two strips over shared lines are one gutter seen twice (say, a ragged column edge beside the real
// gutter) unless a column's text stands between them on at least a few of those lines.
bool same_gutter(const std::vector<Item>& items, const Candidate& l, const Candidate& r) {
  const std::size_t first = std::max(l.first, r.first);
  const std::size_t last = std::min(l.last, r.last);
  if (first > last) return false;
  const float between_a = std::min(l.strip.b, r.strip.b);
  const float between_b = std::max(l.strip.a, r.strip.a);
  std::uint32_t separated = 0;
  for (std::size_t i = first; i <= last; ++i) {
    separated +=
        std::ranges::any_of(items[i].segments,
                            [&](const Interval& s) { return s.a >= between_a && s.b <= between_b; })
            ? 1
            : 0;
  }
  return separated < kMinLinesEachSide;
}

}  // namespace

std::vector<Gutter> find_gutters(std::span<const TextLine> lines, std::span<const PageChar> chars,
                                 std::span<const BBox> obstacles) {
  const float em = page_em(lines, chars);
  const std::vector<Item> items = sweep_items(lines, chars, obstacles, em);
  std::vector<Candidate> runs = qualifying_runs(items, em);

  // Longest runs first: of two views of one gutter, the one over more lines wins.
  std::ranges::stable_sort(runs, [](const Candidate& l, const Candidate& r) {
    if (l.last - l.first != r.last - r.first) return l.last - l.first > r.last - r.first;
    return l.strip.width() > r.strip.width();
  });
  std::vector<Candidate> accepted;
  for (const Candidate& run : runs) {
    if (std::ranges::none_of(accepted,
                             [&](const Candidate& a) { return same_gutter(items, a, run); })) {
      accepted.push_back(run);
    }
  }

  std::vector<Gutter> gutters;
  for (const Candidate& run : accepted) {
    BBox stretch = items[run.first].box;
    for (std::size_t i = run.first + 1; i <= run.last; ++i) {
      stretch = BBox::union_of(stretch, items[i].box);
    }
    gutters.push_back(Gutter{run.strip.a, run.strip.b, stretch.y0, stretch.y1});
  }
  std::ranges::stable_sort(gutters, [](const Gutter& l, const Gutter& r) {
    if (l.top != r.top) return l.top > r.top;
    return l.x0 < r.x0;
  });
  return gutters;
}

}  // namespace vorlin_geometry
