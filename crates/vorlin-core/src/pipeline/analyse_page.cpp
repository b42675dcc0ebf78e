#include "vorlin_core/pipeline/analyse_page.h"

#include "vorlin_geometry/headings.h"
#include "vorlin_geometry/noise.h"
#include "vorlin_geometry/paragraph.h"
#include "vorlin_geometry/word_line.h"
#include "vorlin_geometry/xycut.h"

namespace vorlin_core {
namespace {

namespace geo = vorlin_geometry;

constexpr float kReadingGapFactor = 0.3f;

std::vector<geo::PageChar> page_chars(std::span<const PdfChar> chars) {
  std::vector<geo::PageChar> copies;
  copies.reserve(chars.size());
  for (const PdfChar& c : chars) {
    copies.push_back(geo::PageChar{c.ch, BBox{c.x0, c.y0, c.x1, c.y1}, c.font_size});
  }
  return copies;
}

// Mean font size over every member, valid or not.
float line_font_size(const geo::TextLine& line, std::span<const geo::PageChar> chars) {
  float sum = -0.0f;
  for (std::size_t position : line.char_indices) sum += geo::char_at(chars, position).font_size;
  const std::size_t count = line.char_indices.empty() ? 1 : line.char_indices.size();
  return sum / static_cast<float>(count);
}

std::vector<geo::LineRole> line_roles(std::span<const geo::TextLine> lines,
                                      std::span<const geo::PageChar> chars,
                                      const BBox& page_box) {
  std::vector<float> sizes;
  std::vector<BBox> boxes;
  std::vector<std::string> texts;
  sizes.reserve(lines.size());
  boxes.reserve(lines.size());
  texts.reserve(lines.size());
  for (const geo::TextLine& line : lines) {
    sizes.push_back(line_font_size(line, chars));
    boxes.push_back(line.bbox);
    texts.push_back(geo::line_text(geo::split_words(line, chars)));
  }
  return geo::detect_headings(sizes, boxes, texts, page_box);
}

NodePtr make_node(NodeKind kind, const BBox& bbox, std::string content) {
  auto node = std::make_shared<Node>();
  node->id = new_node_id();
  node->bbox = bbox;
  node->content = std::move(content);
  node->kind = kind;
  return node;
}

std::vector<NodeId> reading_order(const std::vector<NodePtr>& nodes) {
  std::vector<BBox> boxes;
  boxes.reserve(nodes.size());
  for (const NodePtr& node : nodes) boxes.push_back(node->bbox);
  std::vector<NodeId> order;
  order.reserve(nodes.size());
  for (std::size_t position : geo::xycut_order(boxes, kReadingGapFactor, false)) {
    order.push_back(nodes.at(position)->id);
  }
  return order;
}

}  // namespace

PageContent analyse_page(std::span<const PdfChar> pdf_chars, std::span<const PdfImage> images,
                         const BBox& page_box) {
  const std::vector<geo::PageChar> chars = page_chars(pdf_chars);
  const std::vector<geo::TextLine> lines =
      geo::filter_noise(geo::group_lines(chars), chars, page_box);
  const std::vector<geo::LineRole> roles = line_roles(lines, chars, page_box);

  PageContent content;
  for (const geo::Block& block : geo::build_blocks(lines, roles)) {
    std::string text = geo::block_text(block, chars);
    if (text.empty()) continue;
    const NodeKind kind = block.is_heading ? NodeKind::heading(block.heading_level)
                                           : NodeKind::of(NodeKind::Tag::Paragraph);
    content.nodes.push_back(make_node(kind, block.bbox, std::move(text)));
  }
  for (const PdfImage& image : images) {
    NodePtr figure = make_node(NodeKind::of(NodeKind::Tag::Figure),
                               BBox{image.x0, image.y0, image.x1, image.y1}, "figure");
    content.nodes.push_back(std::move(figure));
  }
  content.reading_order = reading_order(content.nodes);
  return content;
}

}  // namespace vorlin_core
