#include "vorlin_geometry/tables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <numeric>
#include <optional>

#include "vorlin_geometry/float_rules.h"
#include "vorlin_geometry/utf8.h"
#include "vorlin_geometry/word_line.h"

namespace vorlin_geometry {
namespace {

// A booktabs table has a top, a header and a bottom rule; two alone frame boxes and notes too.
constexpr std::size_t kMinOpenRules = 3;
// Shorter rules underline words rather than frame tables.
constexpr float kMinRuleLength = 30.0f;
// A table without rules has this many rows at least.
constexpr std::size_t kMinUnruledRows = 3;
// Its cells in one column or more hold this many words on average at most.
constexpr float kMaxKeyWords = 1.5f;
// Its rows are no further apart than this, in units of the type size.
constexpr float kUnruledLineGapEm = 1.0f;
// Share of a box's glyphs that may cross its column bounds and be left out.
constexpr float kMaxForeignShare = 0.25f;
// Share of a box's glyphs in a fixed-pitch font that makes it code.
constexpr float kCodeShare = 0.9f;
// Share of its table's height a column rule covers.
constexpr float kColumnRuleCover = 0.5f;
// Cells of an open table are short; longer ones are lines of prose set in columns.
constexpr float kMaxOpenCellChars = 32.0f;
// A glyph whose gap to the previous one exceeds this share of its size starts a new word.
constexpr float kWordGapEm = 0.15f;
// Glyphs whose centres are this close in height, in units of the type size, share a line.
constexpr float kSameLineEm = 0.5f;
// Whitespace glyphs passed over to find a glyph's neighbour in paint order.
constexpr std::size_t kMaxPaintSkip = 4;

struct HRule {
  float y, x0, x1;
};
struct VRule {
  float x, y0, y1;
};

// Asked of most glyphs of every page, so kept inline.
[[gnu::always_inline]] inline float size_of(const PageChar& c) {
  return is_valid_size(c.font_size) ? c.font_size : std::max(c.bbox.height(), 1.0f);
}

bool inside(const BBox& box, float x, float y) {
  return x >= box.x0 && x <= box.x1 && y >= box.y0 && y <= box.y1;
}

// Whether a table took each glyph; bytes rather than bits, as every glyph of every page is read.
using Taken = std::vector<char>;

// A glyph a table may take: visible, placed, and not in a table already. Asked of every glyph of
// every page, so kept inline.
[[gnu::always_inline]] inline bool searchable(const PageChar& c, std::size_t g, const Taken& taken) {
  // Printable ASCII, most of any page, needs no look-up.
  const bool visible = (c.ch > U' ' && c.ch < 0x7f) || !is_whitespace(c.ch);
  return taken[g] == 0 && visible && !std::isnan(c.bbox.centre_y());
}

// The page's lines (top to bottom, each left to right) searched by height: a box's lines are
// found by two binary searches, not a walk over the page, and keep the page's grouping.
class LineIndex {
 public:
  explicit LineIndex(std::span<const TextLine> lines) : lines_(lines) {
    // Lines run down the page by their first member, but a line's box may reach past its
    // neighbours': the lowest bottom above and the highest top below bound the search.
    lowest_above_.reserve(lines.size());
    highest_below_.resize(lines.size());
    float low = INFINITY, high = -INFINITY;
    for (const TextLine& line : lines) lowest_above_.push_back(low = std::min(low, line.bbox.y0));
    for (std::size_t i = lines.size(); i-- > 0;) {
      highest_below_[i] = high = std::max(high, lines[i].bbox.y1);
    }
  }

  // The glyphs that may be taken whose centres lie in `box`, as lines.
  std::vector<std::vector<std::size_t>> lines_in(std::span<const PageChar> chars, const BBox& box,
                                                 const Taken& taken) const {
    std::vector<std::vector<std::size_t>> out;
    out.resize(lines_into(chars, box, taken, out));
    return out;
  }

  // The same lines as the first entries of `out`, their count returned: the storage of the
  // lines a previous call left there is reused, as the bands between rules are many.
  std::size_t lines_into(std::span<const PageChar> chars, const BBox& box, const Taken& taken,
                         std::vector<std::vector<std::size_t>>& out) const {
    const auto first = std::ranges::lower_bound(lowest_above_, box.y1, std::greater<>{});
    const auto end = std::ranges::upper_bound(highest_below_, box.y0, std::greater<>{});
    std::size_t count = 0;
    for (auto i = static_cast<std::size_t>(first - lowest_above_.begin());
         i < static_cast<std::size_t>(end - highest_below_.begin()); ++i) {
      // One tall line widens the range for all below it; lines missing the box are passed over
      // without a look at their glyphs.
      const BBox& reach = lines_[i].bbox;
      if (reach.y0 > box.y1 || reach.y1 < box.y0 || reach.x0 > box.x1 || reach.x1 < box.x0) {
        continue;
      }
      if (count == out.size()) out.emplace_back();
      // Sized for the whole line and cut back: no check for room per glyph.
      std::vector<std::size_t>& part = out[count];
      part.resize(lines_[i].char_indices.size());
      std::size_t kept = 0;
      for (std::size_t g : lines_[i].char_indices) {
        const BBox& b = chars[g].bbox;
        if (searchable(chars[g], g, taken) && inside(box, b.centre_x(), b.centre_y())) {
          part[kept++] = g;
        }
      }
      part.resize(kept);
      if (kept > 0) ++count;
    }
    return count;
  }

 private:
  std::span<const TextLine> lines_;
  std::vector<float> lowest_above_, highest_below_;
};

// Collinear rules that touch become one; sorted by position, then start.
template <class Rule, class Pos, class Lo, class Hi>
std::vector<Rule> merge_rules(std::vector<Rule> rules, Pos pos, Lo lo, Hi hi) {
  std::ranges::sort(rules, [&](const Rule& a, const Rule& b) {
    return pos(a) != pos(b) ? pos(a) < pos(b) : lo(a) < lo(b);
  });
  std::vector<Rule> merged;
  for (Rule r : rules) {
    if (!merged.empty()) {
      Rule& last = merged.back();
      if (std::abs(pos(r) - pos(last)) <= kRuleJoin && lo(r) <= hi(last) + kRuleJoin) {
        hi(last) = std::max(hi(last), hi(r));
        continue;
      }
    }
    merged.push_back(r);
  }
  return merged;
}

// Sorted positions with those within kRuleJoin of the previous one dropped.
std::vector<float> distinct(std::vector<float> values) {
  std::ranges::sort(values);
  std::vector<float> out;
  for (float v : values) {
    if (out.empty() || v - out.back() > kRuleJoin) out.push_back(v);
  }
  return out;
}

// Column bounds where no glyph of any line reaches across a gap of kColumnGapEm, within [x0, x1].
std::vector<float> text_columns(std::span<const PageChar> chars,
                                std::span<const std::vector<std::size_t>> lines, float x0,
                                float x1) {
  std::size_t count = 0;
  for (const auto& line : lines) count += line.size();
  std::vector<float> bounds{x0};
  if (count == 0) return bounds;
  std::vector<float> sizes;
  sizes.reserve(count);
  for (const auto& line : lines) {
    for (std::size_t g : line) sizes.push_back(size_of(chars[g]));
  }
  // The upper median, selected in place: asked for every band of every ruled box, it spares
  // upper_median's copy.
  const auto middle = sizes.begin() + static_cast<std::ptrdiff_t>(sizes.size() / 2);
  std::ranges::nth_element(sizes, middle,
                           [](float a, float b) { return float_less_nan_last(a, b); });
  const float gap = kColumnGapEm * *middle;
  // A line's glyphs closer than a gap leave no column between them: its phrases, not its
  // glyphs, are sorted.
  std::vector<std::pair<float, float>> spans;
  spans.reserve(count);
  for (const auto& line : lines) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      const BBox& b = chars[line[i]].bbox;
      if (i > 0 && b.x0 - spans.back().second < gap) {
        spans.back().second = std::max(spans.back().second, b.x1);
      } else {
        spans.emplace_back(b.x0, b.x1);
      }
    }
  }
  std::ranges::sort(spans);
  float reach = spans.front().second;
  for (std::size_t i = 1; i < spans.size(); ++i) {
    if (spans[i].first - reach >= gap) bounds.push_back((spans[i].first + reach) * 0.5f);
    reach = std::max(reach, spans[i].second);
  }
  bounds.push_back(x1);
  return bounds;
}

std::size_t column_of(const std::vector<float>& bounds, float x) {
  const auto it = std::ranges::upper_bound(bounds, x);
  const std::size_t i = static_cast<std::size_t>(it - bounds.begin());
  return std::clamp<std::size_t>(i, 1, bounds.size() - 1) - 1;
}

// The line's text in each column, words spaced where the glyphs leave a gap.
std::vector<std::string> line_cells(std::span<const PageChar> chars,
                                    const std::vector<std::size_t>& line,
                                    const std::vector<float>& bounds) {
  std::vector<std::string> cells(bounds.size() - 1);
  std::vector<float> reach(cells.size(), -INFINITY);
  for (std::size_t g : line) {
    const PageChar& c = chars[g];
    const std::size_t col = column_of(bounds, c.bbox.centre_x());
    if (!cells[col].empty() && c.bbox.x0 - reach[col] > kWordGapEm * size_of(c)) {
      cells[col] += ' ';
    }
    append_utf8(cells[col], c.ch);
    reach[col] = std::max(reach[col], c.bbox.x1);
  }
  return cells;
}

void append_cells(std::vector<std::string>& row, const std::vector<std::string>& more) {
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (more[i].empty()) continue;
    if (!row[i].empty()) row[i] += ' ';
    row[i] += more[i];
  }
}

// Rows of one band between two rules: a line opening the first column starts a row, any other
// line continues the row above (a wrapped cell); `whole` keeps the band as one row.
void add_band_rows(std::vector<std::vector<std::string>>& rows, std::span<const PageChar> chars,
                   const std::vector<std::vector<std::size_t>>& lines,
                   const std::vector<float>& bounds, bool whole) {
  bool open = false;
  for (const auto& line : lines) {
    std::vector<std::string> cells = line_cells(chars, line, bounds);
    if (!open || (!whole && !cells[0].empty())) {
      rows.push_back(std::move(cells));
      open = true;
    } else {
      append_cells(rows.back(), cells);
    }
  }
}

// The glyphs of the phrases (runs closer than a column gap) in which a glyph straddles an inner
// column bound or a word's letters fall on both sides of one; ascending.
std::vector<std::size_t> crossing_phrases(std::span<const PageChar> chars,
                                          const std::vector<std::vector<std::size_t>>& lines,
                                          const std::vector<float>& xs) {
  // The first inner bound right of x0 is the only one that can lie inside (x0, x1).
  const auto straddles = [&xs](const BBox& b) {
    const auto right = std::ranges::upper_bound(xs, b.x0 + kRuleJoin);
    const std::size_t k = std::max<std::size_t>(static_cast<std::size_t>(right - xs.begin()), 1);
    return k + 1 < xs.size() && xs[k] < b.x1 - kRuleJoin;
  };
  std::vector<std::size_t> out;
  for (const auto& line : lines) {
    std::size_t start = 0;
    bool crosses = false;
    // The column of the previous glyph, when it was looked up: each glyph's is looked up once.
    std::optional<std::size_t> previous_column;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const PageChar& b = chars[line[i]];
      std::optional<std::size_t> column;
      if (i > start) {
        const PageChar& a = chars[line[i - 1]];
        const float gap = b.bbox.x0 - a.bbox.x1;
        if (gap >= kColumnGapEm * size_of(b)) {
          if (crosses) out.insert(out.end(), line.begin() + start, line.begin() + i);
          start = i;
          crosses = false;
        } else if (gap <= kWordGapEm * size_of(b)) {
          column = column_of(xs, b.bbox.centre_x());
          const std::size_t before =
              previous_column ? *previous_column : column_of(xs, a.bbox.centre_x());
          if (before != *column) crosses = true;
        }
      }
      previous_column = column;
      crosses = crosses || straddles(b.bbox);
    }
    if (crosses) out.insert(out.end(), line.begin() + start, line.end());
  }
  std::ranges::sort(out);
  return out;
}

// Set all in a fixed-pitch font: a code listing, boxed or not, is no table.
bool is_code(std::span<const PageChar> chars, const std::vector<std::size_t>& glyphs) {
  const auto fixed =
      std::ranges::count_if(glyphs, [&](std::size_t g) { return chars[g].monospace; });
  return static_cast<float>(fixed) >= kCodeShare * static_cast<float>(glyphs.size());
}

// The lines of `lines` in each band between the rules at `ys` (top to bottom), less `foreign`
// (ascending): each glyph finds its band by a binary search, so many rows cost no more than few.
std::vector<std::vector<std::vector<std::size_t>>> band_lines(
    std::span<const PageChar> chars, const std::vector<std::vector<std::size_t>>& lines,
    const std::vector<float>& ys, const std::vector<std::size_t>& foreign) {
  std::vector<std::vector<std::vector<std::size_t>>> bands(ys.size() - 1);
  // The line of `lines` each band's last line came from.
  std::vector<std::size_t> from(bands.size(), lines.size());
  for (std::size_t l = 0; l < lines.size(); ++l) {
    for (std::size_t g : lines[l]) {
      if (std::ranges::binary_search(foreign, g)) continue;
      const float y = chars[g].bbox.centre_y();
      // Band b holds ys[b] >= y > ys[b + 1].
      const auto below = std::ranges::upper_bound(ys, y, std::greater<>{});
      const std::size_t b = static_cast<std::size_t>(below - ys.begin());
      if (b == 0 || b == ys.size()) continue;
      auto& band = bands[b - 1];
      if (from[b - 1] != l) {
        band.emplace_back();
        from[b - 1] = l;
      }
      band.back().push_back(g);
    }
  }
  return bands;
}

// The table over `box` cut by the rules at `ys` (top to bottom) into bands and at `xs` into
// columns (none: from the text's gaps), of `glyphs` (ascending) in `lines` (top to bottom, each
// left to right); nullopt unless two rows fill two columns or more.
std::optional<FoundTable> build_table(std::span<const PageChar> chars,
                                      std::vector<std::size_t> glyphs,
                                      const std::vector<std::vector<std::size_t>>& lines,
                                      const BBox& box, const std::vector<float>& ys,
                                      std::vector<float> xs, Taken& taken) {
  if (glyphs.empty() || is_code(chars, glyphs)) return std::nullopt;
  const bool open = xs.empty();
  if (open) xs = text_columns(chars, lines, box.x0, box.x1);
  if (xs.size() < 3) return std::nullopt;
  // Text runs between a table's column rules, never across one. Text that does (a bar beside a
  // note or code, a neighbouring table overprinting this one) is not the table's; much of it
  // means no table.
  const std::vector<std::size_t> foreign = crossing_phrases(chars, lines, xs);
  if (kMaxForeignShare * static_cast<float>(glyphs.size()) < static_cast<float>(foreign.size())) {
    return std::nullopt;
  }
  std::erase_if(glyphs, [&](std::size_t g) { return std::ranges::binary_search(foreign, g); });
  // Rows ruled one by one keep their wrapped lines; otherwise lines are rows. Three rules are a
  // header's frame when the columns are open, and mark rows when they are ruled too.
  const bool ruled_rows = ys.size() >= (open ? 5u : 4u);
  std::vector<std::vector<std::string>> rows;
  for (const auto& band : band_lines(chars, lines, ys, foreign)) {
    add_band_rows(rows, chars, band, xs, ruled_rows);
  }
  std::erase_if(rows, [](const auto& row) {
    return std::ranges::all_of(row, [](const std::string& c) { return c.empty(); });
  });
  // Nor are columns empty all the way down: a box beside the table (a menu button) adds one.
  if (rows.empty()) return std::nullopt;
  for (std::size_t col = rows[0].size(); col-- > 0;) {
    if (std::ranges::all_of(rows, [col](const auto& row) { return row[col].empty(); })) {
      for (auto& row : rows) row.erase(row.begin() + static_cast<std::ptrdiff_t>(col));
    }
  }
  // A table's rows have several cells; prose framed by rules fills one.
  const auto multi = std::ranges::count_if(rows, [](const auto& row) {
    return std::ranges::count_if(row, [](const std::string& c) { return !c.empty(); }) >= 2;
  });
  if (multi < 2 || 2 * static_cast<std::size_t>(multi) < rows.size()) return std::nullopt;
  // Cells of a table with open columns are short on the whole; with no rules at all, in every
  // column, or a column of prose beside code or formulas would pass.
  if (open) {
    const bool unruled = ys.size() == 2;
    // Nor rows that leave half the columns empty: justified prose beside a heading does.
    if (unruled && std::ranges::any_of(rows, [](const auto& row) {
          return 2 * std::ranges::count_if(row, [](const std::string& c) { return !c.empty(); }) <=
                 static_cast<std::ptrdiff_t>(row.size());
        })) {
      return std::nullopt;
    }
    // And one column at least holds single words or figures: narrow columns of prose hold none.
    std::size_t filled = 0, length = 0;
    bool keyed = false;
    for (std::size_t col = 0; col < rows[0].size(); ++col) {
      std::size_t col_filled = 0, col_length = 0, col_words = 0;
      for (const auto& row : rows) {
        col_filled += row[col].empty() ? 0 : 1;
        col_length += row[col].size();
        col_words +=
            row[col].empty() ? 0 : 1 + static_cast<std::size_t>(std::ranges::count(row[col], ' '));
      }
      if (unruled &&
          static_cast<float>(col_length) > kMaxOpenCellChars * static_cast<float>(col_filled)) {
        return std::nullopt;
      }
      keyed =
          keyed || static_cast<float>(col_words) <= kMaxKeyWords * static_cast<float>(col_filled);
      filled += col_filled;
      length += col_length;
    }
    if (unruled && !keyed) return std::nullopt;
    if (static_cast<float>(length) > kMaxOpenCellChars * static_cast<float>(filled)) {
      return std::nullopt;
    }
  }
  for (std::size_t g : glyphs) taken[g] = 1;
  return FoundTable{box, std::move(rows), std::move(glyphs)};
}

bool same_line(const PageChar& a, const PageChar& b) {
  return std::abs(a.bbox.centre_y() - b.bbox.centre_y()) <= kSameLineEm * size_of(a);
}

// The visible glyph painted next to `g` (step +1) or before it (step -1), if any.
std::optional<std::size_t> paint_neighbour(std::span<const PageChar> chars, std::size_t g,
                                           int step) {
  for (std::size_t k = 0; k <= kMaxPaintSkip; ++k) {
    if ((step < 0 && g == 0) || (step > 0 && g + 1 >= chars.size())) return std::nullopt;
    g = step < 0 ? g - 1 : g + 1;
    if (!is_whitespace(chars[g].ch)) return g;
  }
  return std::nullopt;
}

// The glyphs of `glyphs` (those in `box`, ascending) in phrases painted next to text of their line
// beside the box: a line painted across a table's frame (a neighbouring table or a caption set
// over it) is not the table's, though it may overprint it; ascending.
std::vector<std::size_t> painted_across(std::span<const PageChar> chars,
                                        const std::vector<std::size_t>& glyphs, const BBox& box) {
  const auto held = [&glyphs](std::size_t g) { return std::ranges::binary_search(glyphs, g); };
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    const std::size_t g = glyphs[i];
    // Most glyphs are painted between two of the box's own: no search.
    if (i > 0 && glyphs[i - 1] + 1 == g && i + 1 < glyphs.size() && glyphs[i + 1] == g + 1) {
      continue;
    }
    const bool leaves = std::ranges::any_of(std::array{-1, 1}, [&](int step) {
      const auto n = paint_neighbour(chars, g, step);
      if (!n || held(*n) || !same_line(chars[g], chars[*n])) return false;
      const float x = chars[*n].bbox.centre_x();
      return x < box.x0 || x > box.x1;
    });
    if (!leaves) continue;
    // So does the rest of its phrase, painted before or after it with no column gap.
    out.push_back(g);
    for (int step : {-1, 1}) {
      std::size_t at = g;
      for (auto n = paint_neighbour(chars, at, step); n && held(*n);
           n = paint_neighbour(chars, at, step)) {
        const BBox& left = chars[step < 0 ? *n : at].bbox;
        const BBox& right = chars[step < 0 ? at : *n].bbox;
        if (!same_line(chars[g], chars[*n]) ||
            right.x0 - left.x1 >= kColumnGapEm * size_of(chars[at])) {
          break;
        }
        out.push_back(at = *n);
      }
    }
  }
  std::ranges::sort(out);
  const auto [end, last] = std::ranges::unique(out);
  out.erase(end, last);
  return out;
}

// The table over `box` (see build_table) of the glyphs no earlier table took.
std::optional<FoundTable> table_in_box(std::span<const PageChar> chars, const LineIndex& index,
                                       const BBox& box, const std::vector<float>& ys,
                                       std::vector<float> xs, Taken& taken) {
  std::vector<std::vector<std::size_t>> lines = index.lines_in(chars, box, taken);
  std::vector<std::size_t> glyphs;
  for (const auto& line : lines) glyphs.insert(glyphs.end(), line.begin(), line.end());
  std::ranges::sort(glyphs);
  const std::vector<std::size_t> across = painted_across(chars, glyphs, box);
  if (!across.empty()) {
    const auto crosses = [&across](std::size_t g) { return std::ranges::binary_search(across, g); };
    std::erase_if(glyphs, crosses);
    for (auto& line : lines) std::erase_if(line, crosses);
    std::erase_if(lines, [](const auto& line) { return line.empty(); });
  }
  return build_table(chars, std::move(glyphs), lines, box, ys, std::move(xs), taken);
}

// Pairs (horizontal, vertical) of rules that cross or meet, by a sweep down the page: each
// horizontal rule looks only among the vertical rules open at its height, ordered by x.
std::vector<std::pair<std::size_t, std::size_t>> crossings(const std::vector<HRule>& hs,
                                                           const std::vector<VRule>& vs) {
  // Events top to bottom; at one height a vertical rule opens before and closes after the
  // horizontal rules there, so that rules meeting end to end count.
  enum Kind { kOpen, kCross, kClose };
  struct Event {
    float y;
    Kind kind;
    std::size_t index;
  };
  std::vector<Event> events;
  for (std::size_t v = 0; v < vs.size(); ++v) {
    events.push_back({vs[v].y1 + kRuleJoin, kOpen, v});
    events.push_back({vs[v].y0 - kRuleJoin, kClose, v});
  }
  for (std::size_t h = 0; h < hs.size(); ++h) events.push_back({hs[h].y, kCross, h});
  std::ranges::sort(events, [](const Event& a, const Event& b) {
    return a.y != b.y ? a.y > b.y : a.kind < b.kind;
  });
  std::multimap<float, std::size_t> open;
  std::vector<std::multimap<float, std::size_t>::iterator> where(vs.size());
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  for (const Event& e : events) {
    if (e.kind == kOpen) {
      where[e.index] = open.emplace(vs[e.index].x, e.index);
    } else if (e.kind == kClose) {
      open.erase(where[e.index]);
    } else {
      const HRule& h = hs[e.index];
      for (auto it = open.lower_bound(h.x0 - kRuleJoin); it != open.end(); ++it) {
        if (it->first > h.x1 + kRuleJoin) break;
        pairs.emplace_back(e.index, it->second);
      }
    }
  }
  return pairs;
}

// A page line as the rule-less search sees it: its glyphs no ruled table took, whitespace left out.
struct LineStat {
  std::size_t source = 0;  // its place among the page's lines
  // Found for lines of two phrases or more only.
  BBox box{INFINITY, INFINITY, -INFINITY, -INFINITY};
  std::size_t glyphs = 0, phrases = 0;
  float size = 0;  // its first glyph's
};

struct Candidate {
  BBox box;
  std::vector<std::vector<std::size_t>> lines;  // top to bottom, each left to right
};

// Tables without rules: the boxes of runs of at least kMinUnruledRows lines, each parted by
// column gaps and close below the one above (build_table checks the rest: columns that line up,
// short cells, several filled per row, no code). Reads the page's own lines, top to bottom, with
// no copy of their glyphs: most pages hold no such run and cost one walk over their glyphs.
std::vector<Candidate> unruled_candidates(std::span<const PageChar> chars,
                                          std::span<const TextLine> page_lines,
                                          const Taken& taken) {
  std::vector<LineStat> lines;
  lines.reserve(page_lines.size());
  for (std::size_t source = 0; source < page_lines.size(); ++source) {
    LineStat stat;
    stat.source = source;
    const PageChar* previous = nullptr;
    for (std::size_t g : page_lines[source].char_indices) {
      const PageChar& c = chars[g];
      if (!searchable(c, g, taken)) continue;
      if (previous == nullptr) {
        stat.size = size_of(c);
        stat.phrases = 1;
      } else if (const float gap = c.bbox.x0 - previous->bbox.x1;
                 gap > 0 && gap >= kColumnGapEm * size_of(c)) {  // most glyphs touch: no size
        ++stat.phrases;
      }
      previous = &c;
      ++stat.glyphs;
    }
    // Only lines parted by a gap join a run, so only theirs need a box: most lines are spared
    // a second walk.
    if (stat.phrases >= 2) {
      for (std::size_t g : page_lines[source].char_indices) {
        const PageChar& c = chars[g];
        if (!searchable(c, g, taken)) continue;
        stat.box = BBox{std::min(stat.box.x0, c.bbox.x0), std::min(stat.box.y0, c.bbox.y0),
                        std::max(stat.box.x1, c.bbox.x1), std::max(stat.box.y1, c.bbox.y1)};
      }
    }
    if (stat.glyphs > 0) lines.push_back(stat);
  }
  std::vector<Candidate> candidates;
  std::size_t first = 0;
  for (std::size_t l = 0; l <= lines.size(); ++l) {
    const bool joins = l < lines.size() && lines[l].phrases >= 2 &&
                       (l == first ||
                        lines[l - 1].box.y0 - lines[l].box.y1 < kUnruledLineGapEm * lines[l].size);
    if (joins) continue;
    // Long phrases are prose set in columns: skip the full check, the page's costliest step.
    std::size_t glyph_count = 0, phrase_total = 0;
    for (std::size_t k = first; k < l; ++k) {
      glyph_count += lines[k].glyphs;
      phrase_total += lines[k].phrases;
    }
    if (l - first >= kMinUnruledRows &&
        static_cast<float>(glyph_count) <= kMaxOpenCellChars * static_cast<float>(phrase_total)) {
      Candidate candidate{lines[first].box, {}};
      for (std::size_t k = first; k < l; ++k) {
        candidate.box = BBox::union_of(candidate.box, lines[k].box);
        auto& glyphs = candidate.lines.emplace_back();
        for (std::size_t g : page_lines[lines[k].source].char_indices) {
          if (searchable(chars[g], g, taken)) glyphs.push_back(g);
        }
      }
      candidates.push_back(std::move(candidate));
    }
    first = (l < lines.size() && lines[l].phrases >= 2) ? l : l + 1;
  }
  return candidates;
}

// Whether `cover`, painted after `rule`, lies over it: across it with room on both sides (a cell's
// background only meets its own border) and along a stretch of it.
bool hides(const BBox& cover, const BBox& rule) {
  const bool across = rule.width() >= rule.height();
  const BBox& c = cover;
  return across ? c.y0 < rule.y0 - kRuleJoin && c.y1 > rule.y1 + kRuleJoin &&
                      std::min(c.x1, rule.x1) - std::max(c.x0, rule.x0) > kRuleJoin
                : c.x0 < rule.x0 - kRuleJoin && c.x1 > rule.x1 + kRuleJoin &&
                      std::min(c.y1, rule.y1) - std::max(c.y0, rule.y0) > kRuleJoin;
}

// Whether `box` lies on one of the `layers`: drawn on it after it, it is the layer's own (a search
// field, an icon), not the page's, which goes on beneath with its rules whole.
bool on_a_layer(std::span<const BBox> layers, const BBox& box) {
  return std::ranges::any_of(layers, [&box](const BBox& l) {
    return box.x0 >= l.x0 - kRuleJoin && box.x1 <= l.x1 + kRuleJoin && box.y0 >= l.y0 - kRuleJoin &&
           box.y1 <= l.y1 + kRuleJoin;
  });
}

struct UnionFind {
  std::vector<std::size_t> parent;
  explicit UnionFind(std::size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
  std::size_t find(std::size_t i) {
    while (parent[i] != i) i = parent[i] = parent[parent[i]];
    return i;
  }
  void join(std::size_t a, std::size_t b) { parent[find(a)] = find(b); }
};

}  // namespace

std::vector<BBox> ruling_lines(std::span<const PagePath> paths) {
  std::vector<BBox> rules;
  // Fills painted over rules drawn before them: a layer over the page (a sticky site header).
  std::vector<BBox> layers;
  for (const PagePath& path : paths) {
    const BBox& b = path.box;
    const float w = b.width(), h = b.height();
    if (!(w >= 0 && h >= 0 && std::isfinite(w) && std::isfinite(h))) continue;  // NaN: none
    if (on_a_layer(layers, b)) continue;
    if (std::min(w, h) <= kRuleThickness) {
      rules.push_back(b);
      continue;
    }
    if (path.stroked) {
      rules.push_back(BBox{b.x0, b.y0, b.x1, b.y0});
      rules.push_back(BBox{b.x0, b.y1, b.x1, b.y1});
      rules.push_back(BBox{b.x0, b.y0, b.x0, b.y1});
      rules.push_back(BBox{b.x1, b.y0, b.x1, b.y1});
    }
    if (path.filled && h <= kMaxStripeHeight && w >= kMinRuleLength) {
      // A row's background (a zebra stripe, a header's shading): its edges part rows as rules do.
      // Narrower fills are glyphs drawn as paths, or a word's highlight.
      rules.push_back(BBox{b.x0, b.y0, b.x1, b.y0});
      rules.push_back(BBox{b.x0, b.y1, b.x1, b.y1});
    }
    // Only a region can be a layer: glyphs drawn as paths and highlights are many and small.
    if (path.filled && h > kMaxStripeHeight &&
        std::ranges::any_of(rules, [&b](const BBox& r) { return hides(b, r); })) {
      layers.push_back(b);
    }
  }
  return rules;
}

std::vector<FoundTable> find_tables(std::span<const BBox> rules, std::span<const PageChar> chars) {
  return find_tables(rules, chars, group_lines(chars));
}

std::vector<FoundTable> find_tables(std::span<const BBox> rules, std::span<const PageChar> chars,
                                    std::span<const TextLine> lines) {
  std::vector<HRule> hs;
  std::vector<VRule> vs;
  for (const BBox& r : rules) {
    if (r.width() >= r.height()) {
      hs.push_back(HRule{r.centre_y(), r.x0, r.x1});
    } else {
      vs.push_back(VRule{r.centre_x(), r.y0, r.y1});
    }
  }
  hs = merge_rules(
      std::move(hs), [](const HRule& r) { return r.y; }, [](const HRule& r) { return r.x0; },
      [](HRule& r) -> float& { return r.x1; });
  vs = merge_rules(
      std::move(vs), [](const VRule& r) { return r.x; }, [](const VRule& r) { return r.y0; },
      [](VRule& r) -> float& { return r.y1; });

  // Rules are drawn in pieces (a web table borders each cell); only once joined is one short.
  std::erase_if(hs, [](const HRule& r) { return r.x1 - r.x0 < kMinRuleLength; });
  std::erase_if(vs, [](const VRule& r) { return r.y1 - r.y0 < kMinRuleLength; });

  // Grids: horizontal and vertical rules that cross or meet, where the horizontal rule ends on
  // vertical ones at both sides; one running on past them (a neighbouring booktabs table drawn
  // across a grid) is no part of it.
  const auto pairs = crossings(hs, vs);
  std::vector<float> lo(hs.size(), INFINITY), hi(hs.size(), -INFINITY);
  for (const auto& [h, v] : pairs) {
    lo[h] = std::min(lo[h], vs[v].x);
    hi[h] = std::max(hi[h], vs[v].x);
  }
  std::vector<bool> crossed(hs.size(), false);
  for (std::size_t h = 0; h < hs.size(); ++h) {
    crossed[h] = lo[h] <= hs[h].x0 + kRuleJoin && hi[h] >= hs[h].x1 - kRuleJoin;
  }
  UnionFind groups(hs.size() + vs.size());
  for (const auto& [h, v] : pairs) {
    if (crossed[h]) groups.join(h, hs.size() + v);
  }
  const LineIndex index(lines);
  Taken taken(chars.size(), 0);
  std::vector<FoundTable> tables;
  std::vector<std::vector<std::size_t>> members(hs.size() + vs.size());
  for (std::size_t i = 0; i < members.size(); ++i) members[groups.find(i)].push_back(i);
  for (const std::vector<std::size_t>& group : members) {
    std::vector<float> ys, xs;
    std::vector<const VRule*> verticals;
    BBox box{INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (std::size_t i : group) {
      if (i < hs.size()) {
        const HRule& h = hs[i];
        ys.push_back(h.y);
        box = BBox{std::min(box.x0, h.x0), std::min(box.y0, h.y), std::max(box.x1, h.x1),
                   std::max(box.y1, h.y)};
      } else {
        const VRule& v = vs[i - hs.size()];
        verticals.push_back(&v);
        box = BBox{std::min(box.x0, v.x), std::min(box.y0, v.y0), std::max(box.x1, v.x),
                   std::max(box.y1, v.y1)};
      }
    }
    if (verticals.empty()) continue;
    ys.push_back(box.y0);
    ys.push_back(box.y1);
    ys = distinct(std::move(ys));
    std::ranges::reverse(ys);
    if (ys.size() < 2) continue;
    // A column rule runs down most of its table; a short one belongs to a box that merely
    // touches the table (a button on a code block, a search field over a note).
    std::vector<float> rule_xs;
    for (const VRule* v : verticals) rule_xs.push_back(v->x);
    for (float x : distinct(std::move(rule_xs))) {
      float cover = 0;
      for (const VRule* v : verticals) cover += std::abs(v->x - x) <= kRuleJoin ? v->y1 - v->y0 : 0;
      if (cover >= kColumnRuleCover * box.height()) xs.push_back(x);
    }
    xs.push_back(box.x0);
    xs.push_back(box.x1);
    xs = distinct(std::move(xs));
    // A box without a column rule inside (a note, a framed listing) holds no table: its text is
    // not even gathered.
    if (xs.size() < 3) continue;
    if (auto table = table_in_box(chars, index, box, ys, std::move(xs), taken)) {
      tables.push_back(std::move(*table));
    }
  }

  // Open tables: uncrossed horizontal rules of one extent, stacked, each band between two of them
  // empty or split by a column gap, so prose between two tables keeps them apart.
  std::vector<HRule> open;
  for (std::size_t h = 0; h < hs.size(); ++h) {
    if (!crossed[h]) open.push_back(hs[h]);
  }
  std::ranges::sort(open, [](const HRule& a, const HRule& b) { return a.y > b.y; });
  std::vector<bool> used(open.size(), false);
  std::vector<std::vector<std::size_t>> band_scratch;
  for (std::size_t first = 0; first < open.size(); ++first) {
    if (used[first]) continue;
    std::vector<float> ys{open[first].y};
    std::size_t last = first;
    for (std::size_t next = first + 1; next < open.size(); ++next) {
      if (used[next] || std::abs(open[next].x0 - open[last].x0) > kRuleThickness ||
          std::abs(open[next].x1 - open[last].x1) > kRuleThickness) {
        continue;
      }
      const BBox band{open[first].x0, open[next].y, open[first].x1, open[last].y};
      const std::span<const std::vector<std::size_t>> band_lines(
          band_scratch.data(), index.lines_into(chars, band, taken, band_scratch));
      if (!band_lines.empty() && text_columns(chars, band_lines, band.x0, band.x1).size() < 3) {
        break;
      }
      ys.push_back(open[next].y);
      used[next] = true;
      last = next;
    }
    if (ys.size() < kMinOpenRules) continue;
    used[first] = true;
    const BBox box{open[first].x0, ys.back(), open[first].x1, ys.front()};
    if (auto table = table_in_box(chars, index, box, ys, {}, taken))
      tables.push_back(std::move(*table));
  }
  for (const Candidate& c : unruled_candidates(chars, lines, taken)) {
    std::vector<std::size_t> glyphs;
    for (const auto& line : c.lines) glyphs.insert(glyphs.end(), line.begin(), line.end());
    std::ranges::sort(glyphs);
    if (auto table = build_table(chars, std::move(glyphs), c.lines, c.box, {c.box.y1, c.box.y0},
                                 {}, taken)) {
      tables.push_back(std::move(*table));
    }
  }
  std::ranges::sort(tables,
                    [](const FoundTable& a, const FoundTable& b) { return a.bbox.y1 > b.bbox.y1; });
  return tables;
}

bool continues_table(const std::vector<std::vector<std::string>>& last,
                     const std::vector<std::vector<std::string>>& next) {
  return !last.empty() && next.size() >= 2 && next[0] == last[0] &&
         std::ranges::any_of(next[0], [](const std::string& c) { return !c.empty(); });
}

void append_continued_rows(std::vector<std::vector<std::string>>& last,
                           const std::vector<std::vector<std::string>>& next) {
  if (next.empty()) return;
  auto rows = next.begin() + 1;
  if (rows != next.end() && !last.empty() && rows->size() == last.back().size() && !rows->empty() &&
      rows->front().empty()) {
    append_cells(last.back(), *rows++);
  }
  last.insert(last.end(), rows, next.end());
}

std::string pipe_table(const std::vector<std::vector<std::string>>& cells) {
  std::string out;
  const auto add_row = [&out](const std::vector<std::string>& row) {
    out += '|';
    for (const std::string& cell : row) {
      out += ' ';
      for (char c : cell) {
        if (c == '|') {
          out += "\\|";
        } else {
          out += (c == '\n' || c == '\r') ? ' ' : c;
        }
      }
      out += " |";
    }
    out += '\n';
  };
  for (std::size_t r = 0; r < cells.size(); ++r) {
    add_row(cells[r]);
    if (r == 0) {
      out += '|';
      for (std::size_t c = 0; c < cells[r].size(); ++c) out += " --- |";
      out += '\n';
    }
  }
  if (!out.empty()) out.pop_back();
  return out;
}

}  // namespace vorlin_geometry
