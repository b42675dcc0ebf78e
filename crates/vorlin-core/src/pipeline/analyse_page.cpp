#include "vorlin_core/pipeline/analyse_page.h"

#include "vorlin_core/pipeline/page_nodes.h"
#include "vorlin_geometry/headings.h"
#include "vorlin_geometry/noise.h"
#include "vorlin_geometry/paragraph.h"
#include "vorlin_geometry/word_line.h"
#include "vorlin_geometry/xycut.h"

namespace vorlin_core {
namespace {

namespace geo = vorlin_geometry;

std::vector<geo::LineRole> line_roles(std::span<const geo::TextLine> lines,
                                      std::span<const geo::PageChar> chars, const BBox& page_box) {
  std::vector<geo::HeadingLine> heading_lines;
  heading_lines.reserve(lines.size());
  for (const geo::TextLine& line : lines) {
    heading_lines.push_back(geo::HeadingLine{geo::line_font_size(line, chars), line.bbox,
                                             geo::is_heading_text(geo::line_text(line, chars))});
  }
  return geo::detect_headings(heading_lines, page_box);
}

std::vector<NodeId> reading_order(const std::vector<NodePtr>& nodes) {
  std::vector<BBox> boxes;
  boxes.reserve(nodes.size());
  for (const NodePtr& node : nodes) boxes.push_back(node->bbox);
  std::vector<NodeId> order;
  order.reserve(nodes.size());
  for (std::size_t position : geo::xycut_order(boxes, geo::kReadingGapFactor, false)) {
    order.push_back(nodes.at(position)->id);
  }
  return order;
}

}  // namespace

PageContent analyse_page(std::span<const PdfChar> pdf_chars, std::span<const BBox> figures,
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
  for (const BBox& figure : figures) {
    content.nodes.push_back(make_node(NodeKind::of(NodeKind::Tag::Figure), figure, "figure"));
  }
  content.reading_order = reading_order(content.nodes);
  return content;
}

}  // namespace vorlin_core
