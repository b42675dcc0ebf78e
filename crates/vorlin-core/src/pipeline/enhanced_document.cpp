#include "vorlin_core/pipeline/enhanced_document.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>

#include "vorlin_core/pipeline/page_nodes.h"
#include "vorlin_geometry/captions.h"
#include "vorlin_geometry/column_order.h"
#include "vorlin_geometry/footnotes.h"
#include "vorlin_geometry/furniture.h"
#include "vorlin_geometry/heading_cues.h"
#include "vorlin_geometry/headings.h"
#include "vorlin_geometry/letter_runs.h"
#include "vorlin_geometry/outline_headings.h"
#include "vorlin_geometry/paragraph.h"
#include "vorlin_geometry/references.h"
#include "vorlin_geometry/tables.h"
#include "vorlin_geometry/utf8.h"
#include "vorlin_geometry/xycut.h"

namespace vorlin_core {
namespace {

namespace geo = vorlin_geometry;
using Tag = NodeKind::Tag;

// A line at the page's top or bottom edge leaves the text block by at least this share of its
// height before it counts as the outermost line.
constexpr float kOuterGapShare = 0.5f;

// A line opens a block when the space above it exceeds this share of its size.
constexpr float kBlockGapShare = 0.6f;

// A line in a face of its own counts as a heading face only at about the body size or above.
constexpr float kBodySizeShare = 0.95f;

// Markdown's deepest heading.
constexpr std::size_t kDeepestHeading = 6;

// The line's box as a share of its page, so that lines of differently sized pages can be judged
// together against a unit page. A page without height leaves the line mid-page, where no
// position rule applies.
BBox relative_box(const BBox& line, const BBox& page) {
  const float width = page.width() > 0 ? page.width() : 1.0f;
  const float height = page.height();
  if (!(height > 0)) return BBox{0, 0.5f, 1, 0.5f};
  return BBox{(line.x0 - page.x0) / width, (line.y0 - page.y0) / height,
              (line.x1 - page.x0) / width, (line.y1 - page.y0) / height};
}

std::vector<std::vector<geo::FurnitureRole>> furniture_roles(const std::vector<LaidPage>& pages) {
  std::vector<std::vector<geo::BandLine>> bands(pages.size());
  for (std::size_t p = 0; p < pages.size(); ++p) {
    // The topmost and bottommost lines, each alone at its edge.
    float top = -std::numeric_limits<float>::infinity(), next_top = top;
    float bottom = std::numeric_limits<float>::infinity(), next_bottom = bottom;
    for (const geo::LaidLine& line : pages[p].lines) {
      if (line.bbox.y1 > top) {
        next_top = top;
        top = line.bbox.y1;
      } else {
        next_top = std::max(next_top, line.bbox.y1);
      }
      if (line.bbox.y0 < bottom) {
        next_bottom = bottom;
        bottom = line.bbox.y0;
      } else {
        next_bottom = std::min(next_bottom, line.bbox.y0);
      }
    }
    for (const geo::LaidLine& line : pages[p].lines) {
      const float size = line.bbox.height();
      const bool topmost = line.bbox.y1 == top && line.bbox.y0 - next_top > kOuterGapShare * size;
      const bool bottommost =
          line.bbox.y0 == bottom && next_bottom - line.bbox.y1 > kOuterGapShare * size;
      const geo::Band band = geo::outer_band(line.bbox, pages[p].page_box, topmost, bottommost);
      bands[p].push_back(
          geo::BandLine{band, band == geo::Band::None ? std::u32string_view() : line.text,
                        relative_box(line.bbox, pages[p].page_box).centre_y(), line.font_size});
    }
  }
  return geo::classify_furniture(bands);
}

// The font and the size of most prose in the document: the commonest font of its content lines,
// and the fullest size bucket.
std::pair<std::uint32_t, float> body_face(
    const std::vector<LaidPage>& pages,
    const std::vector<std::vector<geo::FurnitureRole>>& furniture) {
  std::vector<float> sizes;
  std::map<std::uint32_t, std::size_t> fonts;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    for (std::size_t i = 0; i < pages[p].lines.size(); ++i) {
      const geo::LaidLine& line = pages[p].lines[i];
      if (furniture[p][i] != geo::FurnitureRole::Content || line.monospace) continue;
      sizes.push_back(line.font_size);
      ++fonts[line.font_id];
    }
  }
  const std::vector<geo::SizeBucket> histogram = geo::size_histogram(sizes);
  const auto fullest = std::ranges::max_element(
      histogram,
      [](const geo::SizeBucket& a, const geo::SizeBucket& b) { return a.count < b.count; });
  const auto commonest = std::ranges::max_element(
      fonts, [](const auto& a, const auto& b) { return a.second < b.second; });
  return {commonest == fonts.end() ? 0 : commonest->first,
          fullest == histogram.end() ? 0.0f : fullest->mean};
}

// Whether each content line opens a block: first of its slot on the page, or further below the
// line above it in that slot than kBlockGapShare of its size.
std::vector<bool> opens_block(const LaidPage& page, const std::vector<geo::FurnitureRole>& roles) {
  std::vector<bool> opens(page.lines.size(), false);
  std::map<geo::ColumnSlot, const geo::LaidLine*> above;
  for (std::size_t i = 0; i < page.lines.size(); ++i) {
    if (roles[i] != geo::FurnitureRole::Content) continue;
    const geo::LaidLine& line = page.lines[i];
    const geo::LaidLine*& previous = above[line.slot];
    const float size = std::max(line.font_size, line.bbox.height());
    // Written so that a NaN gap opens nothing.
    opens[i] = !previous || line.bbox.y1 < previous->bbox.y0 - kBlockGapShare * size;
    previous = &line;
  }
  return opens;
}

// How far right of each content line the next line of its slot on the page starts, in the line's
// heights (0 for the last of its slot).
std::vector<float> indents_below(const LaidPage& page,
                                 const std::vector<geo::FurnitureRole>& roles) {
  std::vector<float> indents(page.lines.size(), 0.0f);
  std::map<geo::ColumnSlot, std::size_t> above;
  for (std::size_t i = 0; i < page.lines.size(); ++i) {
    if (roles[i] != geo::FurnitureRole::Content) continue;
    const auto previous = above.find(page.lines[i].slot);
    if (previous != above.end()) {
      const BBox& box = page.lines[previous->second].bbox;
      indents[previous->second] = (page.lines[i].bbox.x0 - box.x0) / box.height();
    }
    above[page.lines[i].slot] = i;
  }
  return indents;
}

// Heading roles for the whole document, so a level means the same on every page, written into
// the content lines: by type size over the prose lines (program text would pull the body size
// down), then revised by the cues of heading_cues.h.
void assign_heading_roles(std::vector<LaidPage>& pages,
                          const std::vector<std::vector<geo::FurnitureRole>>& furniture) {
  std::vector<geo::HeadingLine> prose;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    for (std::size_t i = 0; i < pages[p].lines.size(); ++i) {
      const geo::LaidLine& line = pages[p].lines[i];
      if (furniture[p][i] != geo::FurnitureRole::Content || line.monospace) continue;
      prose.push_back(geo::HeadingLine{line.font_size, relative_box(line.bbox, pages[p].page_box),
                                       geo::is_heading_text(line.text) ||
                                           geo::is_ideographic_word(line.text)});
    }
  }
  const std::vector<geo::LineRole> by_size = geo::detect_headings(prose, BBox{0, 0, 1, 1}, true);
  const auto [body_font, body_size] = body_face(pages, furniture);
  std::vector<geo::CueLine> cues;
  std::size_t next = 0;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const std::vector<bool> opens = opens_block(pages[p], furniture[p]);
    const std::vector<float> indents = indents_below(pages[p], furniture[p]);
    for (std::size_t i = 0; i < pages[p].lines.size(); ++i) {
      if (furniture[p][i] != geo::FurnitureRole::Content) continue;
      const geo::LaidLine& line = pages[p].lines[i];
      const bool distinct =
          line.font_id != body_font && !line.italic && line.font_size >= kBodySizeShare * body_size;
      cues.push_back(geo::CueLine{line.text, p, relative_box(line.bbox, pages[p].page_box),
                                  line.font_size, line.emphasised, distinct, line.monospace,
                                  opens[i],
                                  line.monospace ? geo::LineRole::body() : by_size[next++],
                                  indents[i]});
    }
  }
  const std::vector<geo::LineRole> roles = geo::revise_headings(cues);
  next = 0;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    for (std::size_t i = 0; i < pages[p].lines.size(); ++i) {
      if (furniture[p][i] != geo::FurnitureRole::Content) continue;
      geo::LaidLine& line = pages[p].lines[i];
      line.role = roles[next++];
      if (line.role.is_heading && geo::is_ideographic_word(line.text)) {
        line.text = geo::join_spaced_ideographs(line.text);
      }
    }
  }
}

// The outline's word on headings (outline_headings.h): a content line it names is a heading at its
// entry's level, and a heading found by type or emphasis after the first named line that it does
// not name ranks below its deepest named level, since outlines leave out only the finer divisions.
void apply_outline(std::vector<LaidPage>& pages,
                   const std::vector<std::vector<geo::FurnitureRole>>& furniture,
                   const std::vector<PdfBookmark>& bookmarks) {
  std::vector<std::u32string> titles;
  for (const PdfBookmark& bookmark : bookmarks) titles.push_back(geo::decode_utf8(bookmark.title));
  std::vector<geo::OutlineEntry> entries;
  for (std::size_t b = 0; b < bookmarks.size(); ++b) {
    if (!bookmarks[b].page) continue;
    entries.push_back(
        geo::OutlineEntry{bookmarks[b].level, titles[b], *bookmarks[b].page, bookmarks[b].y});
  }
  std::vector<geo::OutlineLine> lines;
  std::vector<geo::LaidLine*> content;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    for (std::size_t i = 0; i < pages[p].lines.size(); ++i) {
      if (furniture[p][i] != geo::FurnitureRole::Content) continue;
      geo::LaidLine& line = pages[p].lines[i];
      lines.push_back(geo::OutlineLine{line.text, p, line.bbox.y1, line.role.is_heading});
      content.push_back(&line);
    }
  }
  const std::vector<std::optional<std::uint8_t>> levels = geo::outline_levels(lines, entries);
  std::uint8_t deepest = 0;
  for (const auto& level : levels) deepest = std::max(deepest, level.value_or(0));
  if (deepest == 0) return;  // the outline matches nothing here: geometry alone decides
  const auto clamp = [](std::size_t level) {
    return static_cast<std::uint8_t>(std::min<std::size_t>(level, kDeepestHeading));
  };
  // The title and front matter before the first named line keep their levels.
  const std::size_t first = static_cast<std::size_t>(
      std::ranges::find_if(levels, [](const auto& level) { return level.has_value(); }) -
      levels.begin());
  for (std::size_t k = first; k < content.size(); ++k) {
    geo::LineRole& role = content[k]->role;
    if (levels[k]) {
      role = geo::LineRole::heading(clamp(*levels[k]));
    } else if (role.is_heading) {
      role = geo::LineRole::heading(clamp(std::max<std::size_t>(role.level, deepest + 1u)));
    }
  }
}

// Which lines of the page are footnotes (footnotes.h); headings never are.
std::vector<bool> footnotes(const LaidPage& page, const std::vector<geo::FurnitureRole>& roles,
                            float body) {
  std::vector<geo::FootLine> lines;
  std::vector<std::size_t> positions;
  for (std::size_t i = 0; i < page.lines.size(); ++i) {
    const geo::LaidLine& line = page.lines[i];
    if (roles[i] != geo::FurnitureRole::Content || line.role.is_heading) continue;
    lines.push_back(geo::FootLine{line.text, relative_box(line.bbox, page.page_box), line.font_size,
                                  line.slot});
    positions.push_back(i);
  }
  const std::vector<bool> notes = geo::footnote_lines(lines, body);
  std::vector<bool> out(page.lines.size(), false);
  for (std::size_t k = 0; k < notes.size(); ++k) out[positions[k]] = notes[k];
  return out;
}

NodeKind kind_of(const geo::LaidBlock& block) {
  switch (block.kind) {
    case geo::LaidKind::Heading:
      return NodeKind::heading(block.level);
    case geo::LaidKind::List:
      return NodeKind::of(Tag::List);
    case geo::LaidKind::Code:
      return NodeKind::of(Tag::CodeListing);
    case geo::LaidKind::Equation:
      return NodeKind::of(Tag::Equation);
    case geo::LaidKind::Paragraph:
      break;
  }
  return NodeKind::of(Tag::Paragraph);
}

NodeKind kind_of(geo::FurnitureRole role) {
  switch (role) {
    case geo::FurnitureRole::Header:
      return NodeKind::of(Tag::Header);
    case geo::FurnitureRole::Footer:
      return NodeKind::of(Tag::Footer);
    case geo::FurnitureRole::PageNumber:
    case geo::FurnitureRole::Content:
      break;
  }
  return NodeKind::of(Tag::PageNumber);
}

float caption_reach(const std::vector<geo::LaidLine>& lines) {
  std::vector<float> heights;
  heights.reserve(lines.size());
  for (const geo::LaidLine& line : lines) heights.push_back(line.bbox.height());
  return geo::caption_reach(heights);
}

// A node with its place on the page; captions wait to be set beside their figures (or tables).
struct Placed {
  NodePtr node;
  geo::ColumnSlot slot;
  std::optional<std::size_t> caption_of_figure;  // index into the page's figures, then tables
};

// Which caption-like blocks caption which figure or table: each one's caption as a block index,
// the figures first, then the tables.
std::vector<std::optional<std::size_t>> figure_captions(const LaidPage& page,
                                                        const std::vector<geo::LaidBlock>& blocks,
                                                        float reach) {
  std::vector<std::size_t> candidates;
  std::vector<BBox> candidate_boxes;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    if (blocks[b].kind == geo::LaidKind::Paragraph && blocks[b].caption_like) {
      candidates.push_back(b);
      candidate_boxes.push_back(blocks[b].bbox);
    }
  }
  std::vector<BBox> figure_boxes;
  for (const LaidFigure& figure : page.figures) figure_boxes.push_back(figure.bbox);
  for (const LaidTable& table : page.tables) figure_boxes.push_back(table.bbox);
  std::vector<std::optional<std::size_t>> captions;
  for (const auto& match : geo::match_captions(figure_boxes, candidate_boxes, reach)) {
    captions.push_back(match ? std::optional(candidates[*match]) : std::nullopt);
  }
  return captions;
}

// Reading order of everything but the captions, then each caption beside its figure: after it
// when below it, before it when above (after or before the last, respectively first, of several
// figures sharing it).
std::vector<NodeId> reading_order(const std::vector<Placed>& placed,
                                  const std::vector<NodePtr>& figures) {
  std::vector<std::size_t> flowing;
  std::vector<BBox> boxes;
  std::vector<geo::ColumnSlot> slots;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    if (placed[i].caption_of_figure) continue;
    flowing.push_back(i);
    boxes.push_back(placed[i].node->bbox);
    slots.push_back(placed[i].slot);
  }
  std::vector<NodeId> order;
  order.reserve(placed.size());
  for (std::size_t position : geo::column_reading_order(boxes, slots, geo::kReadingGapFactor)) {
    order.push_back(placed[flowing[position]].node->id);
  }
  for (const Placed& caption : placed) {
    if (!caption.caption_of_figure) continue;
    const NodePtr& figure = figures[*caption.caption_of_figure];
    const bool below = caption.node->bbox.centre_y() < figure->bbox.centre_y();
    auto at = std::ranges::find(order, figure->id);
    if (below && at != order.end()) ++at;
    order.insert(at, caption.node->id);
  }
  return order;
}

// The node as OCR's: its confidence is the mean of the words whose centres lie in its box, or of
// the page's words when none does (a box that the layout grew past its words).
NodePtr from_ocr(const NodePtr& node, std::span<const OcrBox> words) {
  float sum = 0, page_sum = 0;
  std::size_t count = 0;
  for (const OcrBox& word : words) {
    page_sum += word.confidence;
    const float x = word.box.centre_x(), y = word.box.centre_y();
    if (x >= node->bbox.x0 && x <= node->bbox.x1 && y >= node->bbox.y0 && y <= node->bbox.y1) {
      sum += word.confidence;
      ++count;
    }
  }
  auto stamped = std::make_shared<Node>(*node);
  stamped->provenance.source = ProvenanceSource::Ocr;
  stamped->provenance.confidence =
      count > 0 ? sum / static_cast<float>(count) : page_sum / static_cast<float>(words.size());
  return stamped;
}

// Where the reading is: in a bibliography under its heading, in a run of numbered entries set
// without one, or in neither.
enum class Bibliography { None, Headed, Numbered };

// The entries of a paragraph or list read as bibliography entries; none for other nodes.
std::vector<std::u32string> entries_of(const Node* node) {
  const bool text = node && (node->kind.tag == Tag::Paragraph || node->kind.tag == Tag::List);
  return text ? geo::reference_entries(geo::decode_utf8(node->content))
              : std::vector<std::u32string>{};
}

// Whether all entries from `first` on are numbered, and there is one.
bool numbered_from(const std::vector<std::u32string>& entries, std::size_t first) {
  const auto numbered = [](const std::u32string& entry) {
    return geo::entry_number(entry).has_value();
  };
  return entries.size() > first &&
         std::all_of(entries.begin() + static_cast<std::ptrdiff_t>(first), entries.end(), numbered);
}

bool all_numbered(const std::vector<std::u32string>& entries) { return numbered_from(entries, 0); }

bool is_furniture(const Node* node) {
  const Tag tag = node ? node->kind.tag : Tag::Figure;
  return tag == Tag::Header || tag == Tag::Footer || tag == Tag::PageNumber;
}

// Paragraphs and lists under a bibliography heading, in reading order and across pages until
// the next heading, become one reference node per entry, each in its block's place; so do the
// blocks of a run of numbered entries that reads as a bibliography, until one is not an entry.
void mark_references(std::vector<Placed>& placed, std::vector<NodeId>& order,
                     Bibliography& state) {
  const std::size_t count = placed.size();
  std::vector<const Node*> nodes;
  for (const NodeId id : order) {
    const auto found = std::ranges::find_if(
        placed.begin(), placed.begin() + static_cast<std::ptrdiff_t>(count),
        [id](const Placed& p) { return p.node->id == id; });
    nodes.push_back(found == placed.begin() + static_cast<std::ptrdiff_t>(count)
                        ? nullptr
                        : found->node.get());
  }
  std::vector<std::vector<std::u32string>> entries;
  for (const Node* node : nodes) entries.push_back(entries_of(node));

  std::vector<NodeId> marked;
  marked.reserve(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    const Tag tag = nodes[k] ? nodes[k]->kind.tag : Tag::Figure;
    if (tag == Tag::Heading) {
      state = geo::is_reference_heading(geo::decode_utf8(nodes[k]->content)) ? Bibliography::Headed
                                                                              : Bibliography::None;
    }
    const bool text = tag == Tag::Paragraph || tag == Tag::List;
    // A block may open with the end of an entry that a column or page broke.
    if (text && state == Bibliography::Numbered && !all_numbered(entries[k]) &&
        !numbered_from(entries[k], 1)) {
      state = Bibliography::None;
    }
    if (text && state == Bibliography::None && all_numbered(entries[k])) {
      std::vector<std::u32string> run;
      for (std::size_t r = k; r < order.size(); ++r) {
        if (!is_furniture(nodes[r]) && !all_numbered(entries[r])) break;
        run.insert(run.end(), entries[r].begin(), entries[r].end());
      }
      if (geo::is_numbered_bibliography(run)) state = Bibliography::Numbered;
    }
    if (state == Bibliography::None || !text) {
      marked.push_back(order[k]);
      continue;
    }
    if (entries[k].empty()) marked.push_back(order[k]);
    const std::size_t at = static_cast<std::size_t>(
        std::ranges::find_if(placed, [&](const Placed& p) { return p.node.get() == nodes[k]; }) -
        placed.begin());
    const BBox box = nodes[k]->bbox;
    const geo::ColumnSlot slot = placed[at].slot;
    for (std::size_t e = 0; e < entries[k].size(); ++e) {
      NodePtr entry =
          make_node(NodeKind::of(Tag::Reference), box, geo::encode_utf8(entries[k][e]));
      marked.push_back(entry->id);
      if (e == 0) {
        placed[at].node = std::move(entry);  // `nodes[k]` is gone from here on
      } else {
        placed.push_back(Placed{std::move(entry), slot, std::nullopt});
      }
    }
  }
  order = std::move(marked);
}

PageContent finish_page(LaidPage& page, const std::vector<geo::FurnitureRole>& furniture,
                        const std::vector<bool>& footnote, Bibliography& bibliography,
                        geo::ListingCarry& carry) {
  std::vector<geo::LaidLine> content_lines;
  std::vector<geo::LaidLine> note_lines;
  std::vector<Placed> placed;
  for (std::size_t i = 0; i < page.lines.size(); ++i) {
    geo::LaidLine& line = page.lines[i];
    if (footnote[i]) {
      note_lines.push_back(std::move(line));
    } else if (furniture[i] == geo::FurnitureRole::Content) {
      content_lines.push_back(std::move(line));
    } else {
      placed.push_back(
          Placed{make_node(kind_of(furniture[i]), line.bbox, geo::encode_utf8(line.text)),
                 line.slot, std::nullopt});
    }
  }
  const float reach = caption_reach(content_lines);
  const std::vector<geo::LaidBlock> blocks = geo::build_laid_blocks(content_lines, &carry);
  const std::vector<std::optional<std::size_t>> captions = figure_captions(page, blocks, reach);

  std::vector<Placed> block_nodes;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    std::optional<std::size_t> figure;
    for (std::size_t f = 0; f < captions.size(); ++f) {
      if (captions[f] == b) figure = f;  // the last figure sharing it
    }
    const NodeKind kind = figure ? NodeKind::of(Tag::Caption) : kind_of(blocks[b]);
    auto node = std::make_shared<Node>(*make_node(kind, blocks[b].bbox, blocks[b].text));
    // A flat list keeps no depths: it renders and serialises as lists always have.
    if (kind == NodeKind::of(Tag::List) && std::ranges::any_of(blocks[b].depths, std::identity{})) {
      node->item_depths = blocks[b].depths;
    }
    block_nodes.push_back(Placed{std::move(node), blocks[b].slot, figure});
  }
  for (const geo::LaidBlock& note : geo::build_laid_blocks(note_lines)) {
    block_nodes.push_back(Placed{make_node(NodeKind::of(Tag::Footnote), note.bbox, note.text),
                                 note.slot, std::nullopt});
  }
  // Creation order: text nodes (blocks, footnotes, then furniture), then tables, then figures.
  placed.insert(placed.begin(), std::make_move_iterator(block_nodes.begin()),
                std::make_move_iterator(block_nodes.end()));
  std::vector<NodePtr> tables;
  for (LaidTable& table : page.tables) {
    auto node = std::make_shared<Node>(
        *make_node(NodeKind::of(Tag::Table), table.bbox, geo::pipe_table(table.cells)));
    node->cells = std::move(table.cells);
    tables.push_back(node);
    placed.push_back(Placed{std::move(node), table.slot, std::nullopt});
  }
  std::vector<NodePtr> figures;
  for (const LaidFigure& figure : page.figures) {
    figures.push_back(make_node(NodeKind::of(Tag::Figure), figure.bbox, "figure", figure.id));
    placed.push_back(Placed{figures.back(), figure.slot, std::nullopt});
  }
  figures.insert(figures.end(), tables.begin(), tables.end());  // as figure_captions counts

  PageContent content;
  content.reading_order = reading_order(placed, figures);
  mark_references(placed, content.reading_order, bibliography);
  for (Placed& p : placed) {
    const bool text = p.node->kind != NodeKind::of(Tag::Figure);
    content.nodes.push_back(text && !page.ocr_words.empty() ? from_ocr(p.node, page.ocr_words)
                                                            : std::move(p.node));
  }
  return content;
}

// A document that sets its listings on shades sets nothing else in a fixed-pitch font apart that
// way: its unshaded fixed-pitch lines (signatures, terms) are prose.
void keep_shaded_listings(std::vector<LaidPage>& pages) {
  const auto shaded = [](const geo::LaidLine& line) { return line.shaded; };
  if (!std::ranges::any_of(
          pages, [&](const LaidPage& page) { return std::ranges::any_of(page.lines, shaded); })) {
    return;
  }
  for (LaidPage& page : pages) {
    for (geo::LaidLine& line : page.lines) {
      if (!line.shaded) line.pitch = 0;
    }
  }
}

// The title's type exceeds every other heading's by at least this many points; lines within
// kSameSize of it are the title's own.
constexpr float kTitleLead = 1.0f;
constexpr float kSameSize = 0.25f;

// The document's title when its type leaves no doubt: the heading lines set larger than any other
// heading, all on the first page with content, in their order there. Empty otherwise.
std::string document_title(const std::vector<LaidPage>& pages,
                           const std::vector<std::vector<geo::FurnitureRole>>& furniture) {
  std::vector<const geo::LaidLine*> headings;
  std::vector<std::size_t> on_page;
  std::optional<std::size_t> first_page;
  float largest = 0;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    for (std::size_t i = 0; i < pages[p].lines.size(); ++i) {
      if (furniture[p][i] != geo::FurnitureRole::Content) continue;
      if (!first_page) first_page = p;
      const geo::LaidLine& line = pages[p].lines[i];
      if (!line.role.is_heading) continue;
      headings.push_back(&line);
      on_page.push_back(p);
      largest = std::max(largest, line.font_size);
    }
  }
  std::u32string title;
  for (std::size_t k = 0; k < headings.size(); ++k) {
    const float size = headings[k]->font_size;
    if (size >= largest - kSameSize) {
      if (on_page[k] != first_page) return {};
      if (!title.empty()) title.push_back(U' ');
      title += headings[k]->text;
    } else if (!(size <= largest - kTitleLead)) {
      return {};  // close to the title's size (or of no size): no telling which is the title
    }
  }
  return geo::encode_utf8(geo::collapse_whitespace(title));
}

// A table running on over a page break under its repeated header is one table, the repeat
// dropped, when no body text comes between (running heads and page numbers may). From the end,
// so that a table over several pages gathers them all.
void join_continued_tables(std::vector<LaidPage>& pages,
                           const std::vector<std::vector<geo::FurnitureRole>>& furniture) {
  const auto body_where = [&](std::size_t p, auto&& where) {
    for (std::size_t i = 0; i < pages[p].lines.size(); ++i) {
      if (furniture[p][i] == geo::FurnitureRole::Content && where(pages[p].lines[i].bbox)) {
        return true;
      }
    }
    return false;
  };
  for (std::size_t p = pages.size(); p-- > 1;) {
    if (pages[p - 1].tables.empty() || pages[p].tables.empty()) continue;
    LaidTable& last = pages[p - 1].tables.back();
    const LaidTable& next = pages[p].tables.front();
    if (!geo::continues_table(last.cells, next.cells) ||
        body_where(p - 1, [&](const BBox& b) { return b.y1 < last.bbox.y0; }) ||
        body_where(p, [&](const BBox& b) { return b.y0 > next.bbox.y1; })) {
      continue;
    }
    geo::append_continued_rows(last.cells, next.cells);
    pages[p].tables.erase(pages[p].tables.begin());
  }
}

// One outline without skipped levels across the whole document.
void close_level_gaps(std::vector<LaidPage>& pages) {
  std::vector<geo::LineRole> roles;
  for (const LaidPage& page : pages) {
    for (const geo::LaidLine& line : page.lines) roles.push_back(line.role);
  }
  geo::close_level_gaps(roles);
  auto role = roles.begin();
  for (LaidPage& page : pages) {
    for (geo::LaidLine& line : page.lines) line.role = *role++;
  }
}

}  // namespace

FinishedDocument finish_document(std::vector<LaidPage> pages,
                                 const std::vector<PdfBookmark>& bookmarks) {
  keep_shaded_listings(pages);
  const std::vector<std::vector<geo::FurnitureRole>> furniture = furniture_roles(pages);
  assign_heading_roles(pages, furniture);
  join_continued_tables(pages, furniture);
  if (!bookmarks.empty()) apply_outline(pages, furniture, bookmarks);
  close_level_gaps(pages);
  const float body = body_face(pages, furniture).second;
  FinishedDocument finished;
  if (std::string title = document_title(pages, furniture); !title.empty()) {
    finished.extra.emplace("title", std::move(title));
  }
  finished.pages.reserve(pages.size());
  Bibliography bibliography = Bibliography::None;
  geo::ListingCarry carry;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    finished.pages.push_back(finish_page(pages[p], furniture[p],
                                         footnotes(pages[p], furniture[p], body), bibliography,
                                         carry));
    pages[p] = LaidPage{};  // release each page's lines as soon as it is done
  }
  return finished;
}

}  // namespace vorlin_core
