#include "vorlin_core/pipeline/page_nodes.h"

namespace vorlin_core {

std::vector<vorlin_geometry::PageChar> page_chars(std::span<const PdfChar> chars) {
  std::vector<vorlin_geometry::PageChar> copies;
  copies.reserve(chars.size());
  for (const PdfChar& c : chars) {
    copies.push_back(vorlin_geometry::PageChar{
        c.ch, BBox{c.x0, c.y0, c.x1, c.y1}, c.font_size, c.angle, c.font_id, c.bold, c.italic,
        c.monospace, c.small_caps, c.space_before, c.hyphen_after, c.line_end_hyphen,
        c.math});
  }
  return copies;
}

NodePtr make_node(NodeKind kind, const BBox& bbox, std::string content, NodeId id) {
  auto node = std::make_shared<Node>();
  node->id = id;
  node->bbox = bbox;
  node->content = std::move(content);
  node->kind = kind;
  return node;
}

}  // namespace vorlin_core
