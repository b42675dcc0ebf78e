#include "vorlin_geometry/laid_blocks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>

#include "vorlin_geometry/captions.h"
#include "vorlin_geometry/heading_cues.h"
#include "vorlin_geometry/hyphenation.h"
#include "vorlin_geometry/list_markers.h"
#include "vorlin_geometry/listings.h"
#include "vorlin_geometry/paragraph.h"
#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {

namespace {

constexpr float kItemGapFactor = 2.0f;
constexpr float kIndentFactor = 0.3f;       // of the item line's height
constexpr float kCaptionSizeChange = 0.5f;  // points
constexpr float kDisplayIndent = 2.0f;      // type sizes in from the column's edge
constexpr std::uint8_t kMaxDepth = 8;       // list levels; deeper items stay at the last
constexpr float kScriptRowHeight = 0.8f;    // of a formula's line: its super- and subscripts
// Distinct symbols a displayed line of math needs to be a formula: dot leaders, footnote marks
// and a lone variable are not.
constexpr std::size_t kMinFormulaSymbols = 3;

std::size_t distinct_symbols(std::u32string_view text) {
  std::u32string seen;
  for (char32_t ch : text) {
    if (!is_whitespace(ch) && seen.find(ch) == std::u32string::npos) seen.push_back(ch);
  }
  return seen.size();
}

float gap_tolerance(std::span<const LaidLine> lines) {
  std::vector<float> heights;
  heights.reserve(lines.size());
  for (const LaidLine& line : lines) heights.push_back(line.bbox.height());
  return paragraph_gap_tolerance(heights);
}

bool indented_past(const BBox& line, const BBox& item_start) {
  return line.x0 >= item_start.x0 + kIndentFactor * item_start.height();
}

// Which marker lines of one column start list items (see the header).
std::vector<bool> item_starts(std::span<const LaidLine> lines, std::span<const std::size_t> group,
                              std::span<const std::optional<ListMarker>> markers, float tolerance) {
  std::vector<bool> starts(group.size(), false);
  for (std::size_t g = 0; g < group.size(); ++g) {
    const std::optional<ListMarker>& marker = markers[group[g]];
    if (!marker) continue;
    if (marker->unambiguous) starts[g] = true;
    for (std::size_t k = g + 1; k < group.size(); ++k) {
      const LaidLine& line = lines[group[k]];
      const float gap = vertical_gap(lines[group[k - 1]].bbox, line.bbox);
      if (line.role.is_heading) break;
      if (markers[group[k]]) {
        if (gap <= kItemGapFactor * tolerance) starts[g] = starts[k] = true;
        break;
      }
      if (!(gap <= tolerance && indented_past(line.bbox, lines[group[g]].bbox))) break;
    }
  }
  return starts;
}

// Room, in line heights, that a column's measured right edge may fall short of the edge its text
// was set to: ragged lines stop up to a word early.
constexpr float kWrapSlack = 2.5f;
// A heading's lines closer than this share of their height are set as one heading, broken by
// hand where they are short ("Chapter title:" over its subtitle); stacked headings stand further
// apart, and a line that opens with a section number starts a heading of its own.
constexpr float kSetLeading = 0.45f;

// Whether a heading line went on to `below` because `below`'s first word did not fit after it
// within the column [left, right]: two short headings stacked closely are two headings. Written
// so that a NaN width joins, as a close line always did.
bool wraps_onto(const BBox& above, const LaidLine& below, float left, float right) {
  const std::u32string_view text = trim_whitespace(below.text);
  if (text.empty()) return true;
  const std::size_t word = std::min(text.find(U' '), text.size());
  const float needed = below.bbox.width() * static_cast<float>(word) /
                           static_cast<float>(text.size()) +
                       kWrapSlack * below.bbox.height();
  return !(above.x1 + needed < right && above.width() + needed < right - left);
}

// Which lines of one column belong to equations (see the header).
std::vector<bool> equation_lines(std::span<const LaidLine> lines,
                                 std::span<const std::size_t> group,
                                 const std::vector<bool>& listing, float tolerance, float margin) {
  float right = -std::numeric_limits<float>::infinity();
  for (std::size_t i : group) right = std::max(right, lines[i].bbox.x1);
  const auto displayed = [&](std::size_t g) {
    const LaidLine& line = lines[group[g]];
    const float indent = kDisplayIndent * line.font_size;
    return !line.role.is_heading && !listing[g] && line.bbox.x0 >= margin + indent &&
           line.bbox.x1 <= right - indent;
  };
  const auto close = [&](std::size_t above, std::size_t below) {
    return vertical_gap(lines[group[above]].bbox, lines[group[below]].bbox) <= tolerance;
  };
  // A formula's rows: displayed lines set in math faces, or less tall than the formula's line
  // `g` (its super- and subscripts). Prose set in from the edges (another column's line) is not.
  std::vector<bool> equation(group.size(), false);
  const auto formula_row = [&](std::size_t k, std::size_t g) {
    const LaidLine& line = lines[group[k]];
    return !equation[k] && !line.equation_number && displayed(k) &&
           (line.math || line.bbox.height() < kScriptRowHeight * lines[group[g]].bbox.height());
  };
  for (std::size_t g = 0; g < group.size(); ++g) {
    const LaidLine& numbered = lines[group[g]];
    if (!numbered.equation_number || numbered.role.is_heading || listing[g]) continue;
    equation[g] = true;
    for (std::size_t k = g; k-- > 0 && close(k, k + 1) && formula_row(k, g);) equation[k] = true;
  }
  // Unnumbered displays: a displayed line of a few math symbols and the rows around it.
  for (std::size_t g = 0; g < group.size(); ++g) {
    if (equation[g] || !lines[group[g]].math || !displayed(g) ||
        distinct_symbols(lines[group[g]].text) < kMinFormulaSymbols) {
      continue;
    }
    equation[g] = true;
    for (std::size_t k = g; k-- > 0 && close(k, k + 1) && formula_row(k, g);) equation[k] = true;
    for (std::size_t k = g + 1; k < group.size() && close(k - 1, k) && formula_row(k, g); ++k) {
      equation[k] = true;
    }
  }
  return equation;
}

class BlockBuilder {
 public:
  // `group` is the column's lines, `margin` its left edge.
  BlockBuilder(std::span<const LaidLine> lines, float tolerance, std::span<const std::size_t> group,
               float margin, float carried)
      : lines_(lines),
        tolerance_(tolerance),
        first_(group.front()),
        last_line_(group.back()),
        margin_(margin),
        carried_(carried) {
    for (std::size_t i : group) right_ = std::max(right_, lines[i].bbox.x1);
  }

  // The carry for the next column (ListingCarry), once finished.
  float ending_indent() const { return ending_; }

  void add(std::size_t index, std::optional<ListMarker> item, bool listing, bool equation) {
    const LaidLine& line = lines_[index];
    const float gap = draft_ ? vertical_gap(last_, line.bbox) : 0.0f;
    if (listing) {
      const ListingLine code{line.columns, line.bbox, line.pitch, line.shaded};
      if (!(is(LaidKind::Code) && continues_listing(draft_->listing.back(), code))) {
        open(index, LaidKind::Code);
      }
      draft_->listing.push_back(code);
      draft_->last = index;
      draft_->bbox = draft_->bbox ? BBox::union_of(*draft_->bbox, line.bbox) : line.bbox;
      last_ = line.bbox;
      return;
    }
    if (equation) {
      if (!(is(LaidKind::Equation) && !draft_->numbered)) open(index, LaidKind::Equation);
      draft_->numbered = line.equation_number;
    } else if (line.role.is_heading) {
      const float heading_tolerance =
          std::max(tolerance_, kParagraphGapFactor * line.bbox.height());
      if (!(is(LaidKind::Heading) && draft_->level == line.role.level &&
            gap <= heading_tolerance && section_depth(line.text) == 0 &&
            (gap <= kSetLeading * line.bbox.height() || wraps_onto(last_, line, margin_, right_)))) {
        open(index, LaidKind::Heading);
      }
    } else if (item) {
      if (is(LaidKind::List) && gap <= kItemGapFactor * tolerance_) {
        close_item();
      } else {
        open(index, LaidKind::List);
        draft_->base_sublevel = item->sublevel;
      }
      draft_->depth = nest(line.bbox, item->sublevel);
      item_start_ = line.bbox;
    } else if (is(LaidKind::List) && gap <= tolerance_ && indented_past(line.bbox, item_start_)) {
      // continues the open item
    } else if (!(is(LaidKind::Paragraph) && gap <= tolerance_ && !caption_ends(line))) {
      open(index, LaidKind::Paragraph);
      draft_->caption_like = is_caption_text(line.text);
    }
    draft_->bbox = draft_->bbox ? BBox::union_of(*draft_->bbox, line.bbox) : line.bbox;
    std::u32string_view text = line.text;
    if (item && item->is_bullet) text.remove_prefix(std::min(item->length, text.size()));
    draft_->item_lines.emplace_back(text);
    last_ = line.bbox;
  }

  std::vector<std::pair<std::size_t, LaidBlock>> finish() {
    flush();
    return std::move(blocks_);
  }

 private:
  struct Draft {
    std::size_t first = 0;
    LaidBlock block;
    std::uint8_t level = 0;
    bool caption_like = false;
    float first_size = 0;
    std::optional<BBox> bbox;
    std::u32string items;                         // finished list items, one a line
    std::vector<std::u32string_view> item_lines;  // lines of the open paragraph, heading or item
    std::vector<ListingLine> listing;             // lines of a code block
    std::size_t last = 0;                         // the code block's last line
    bool numbered = false;                        // an equation closed by its number
    // The open list's left edges, outermost first, each with the depth of its latest item.
    std::vector<std::pair<float, std::uint8_t>> indents;
    std::size_t base_sublevel = 0;  // the first item's (ListMarker)
    std::uint8_t depth = 0;         // the open item's
  };

  // The open list's depth for an item starting at `box` (see the header): one below the latest
  // item set left of it, or deeper as its number says. Never more than one below the item before,
  // which Markdown could not show.
  std::uint8_t nest(const BBox& box, std::size_t sublevel) {
    auto& indents = draft_->indents;
    const float step = kIndentFactor * box.height();
    while (!indents.empty() && !(indents.back().first < box.x0 - step)) indents.pop_back();
    const std::size_t under = indents.empty() ? 0 : indents.back().second + 1;
    const std::size_t numbered =
        sublevel > draft_->base_sublevel ? sublevel - draft_->base_sublevel : 0;
    const std::size_t deepest = draft_->block.depths.empty() ? 0 : draft_->block.depths.back() + 1;
    const auto depth = static_cast<std::uint8_t>(
        std::min({std::max(under, numbered), deepest, std::size_t{kMaxDepth}}));
    indents.emplace_back(box.x0, depth);
    return depth;
  }

  bool is(LaidKind kind) const { return draft_ && draft_->block.kind == kind; }

  // A caption set in its own type size ends where the body text resumes.
  bool caption_ends(const LaidLine& line) const {
    return draft_->caption_like &&
           !(std::fabs(line.font_size - draft_->first_size) <= kCaptionSizeChange);
  }

  void open(std::size_t index, LaidKind kind) {
    flush();
    const LaidLine& line = lines_[index];
    draft_.emplace();
    draft_->first = index;
    draft_->block.kind = kind;
    draft_->block.slot = line.slot;
    draft_->level = line.role.level;
    draft_->first_size = line.font_size;
  }

  void close_item() {
    const std::u32string item = collapse_whitespace(join_block_lines(draft_->item_lines));
    if (!item.empty()) {
      if (!draft_->items.empty()) draft_->items.push_back(U'\n');
      draft_->items += item;
      draft_->block.depths.push_back(draft_->depth);
    }
    draft_->item_lines.clear();
  }

  void flush() {
    if (!draft_) return;
    LaidBlock& block = draft_->block;
    block.bbox = draft_->bbox.value_or(BBox{});
    block.caption_like = draft_->caption_like;
    if (block.kind == LaidKind::List) {
      close_item();
      block.text = encode_utf8(draft_->items);
    } else if (block.kind == LaidKind::Code) {
      // A listing opening the column may go on from the one ending the last column:
      // its indentation counts from where that one started.
      const bool continued = draft_->first == first_;
      float left = continued && std::isfinite(carried_) ? margin_ + carried_
                                                        : std::numeric_limits<float>::infinity();
      for (const ListingLine& line : draft_->listing) left = std::min(left, line.bbox.x0);
      block.text = encode_utf8(listing_text(draft_->listing, left));
      if (draft_->last == last_line_) ending_ = left - margin_;
    } else {
      block.level = block.kind == LaidKind::Heading ? draft_->level : 0;
      block.text = encode_utf8(collapse_whitespace(join_block_lines(draft_->item_lines)));
    }
    if (!block.text.empty()) blocks_.emplace_back(draft_->first, std::move(block));
    draft_.reset();
  }

  std::span<const LaidLine> lines_;
  float tolerance_;
  std::size_t first_;
  std::size_t last_line_;
  float margin_;  // the column's left edge
  float right_ = -std::numeric_limits<float>::infinity();  // and its right edge
  float carried_;
  float ending_ = std::numeric_limits<float>::quiet_NaN();
  std::optional<Draft> draft_;
  BBox last_;
  BBox item_start_;
  std::vector<std::pair<std::size_t, LaidBlock>> blocks_;
};

}  // namespace

std::vector<LaidBlock> build_laid_blocks(std::span<const LaidLine> lines, ListingCarry* carry) {
  const float tolerance = gap_tolerance(lines);
  std::map<ColumnSlot, std::vector<std::size_t>> groups;
  std::vector<std::optional<ListMarker>> markers(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    groups[lines[i].slot].push_back(i);
    if (!lines[i].role.is_heading) markers[i] = list_marker(lines[i].text);
  }

  std::vector<std::pair<std::size_t, LaidBlock>> numbered;
  for (const auto& [slot, group] : groups) {
    std::vector<ListingLine> column;
    for (std::size_t i : group) {
      column.push_back({lines[i].columns, lines[i].bbox, lines[i].pitch, lines[i].shaded});
    }
    float margin = std::numeric_limits<float>::infinity();
    for (std::size_t i : group) margin = std::min(margin, lines[i].bbox.x0);
    const std::vector<bool> listing = listing_lines(column);
    for (std::size_t g = 0; g < group.size(); ++g) {
      if (listing[g]) markers[group[g]].reset();
    }
    const std::vector<bool> starts = item_starts(lines, group, markers, tolerance);
    const std::vector<bool> equation = equation_lines(lines, group, listing, tolerance, margin);
    BlockBuilder builder(lines, tolerance, group, margin,
                         carry ? carry->indent : std::numeric_limits<float>::quiet_NaN());
    for (std::size_t g = 0; g < group.size(); ++g) {
      builder.add(group[g], starts[g] ? markers[group[g]] : std::nullopt, listing[g], equation[g]);
    }
    for (auto& entry : builder.finish()) numbered.push_back(std::move(entry));
    if (carry) carry->indent = builder.ending_indent();
  }
  std::ranges::stable_sort(numbered,
                           [](const auto& l, const auto& r) { return l.first < r.first; });
  std::vector<LaidBlock> blocks;
  blocks.reserve(numbered.size());
  for (auto& [first, block] : numbered) blocks.push_back(std::move(block));
  return blocks;
}

}  // namespace vorlin_geometry
