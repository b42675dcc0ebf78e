#pragma once
// Hand-built documents for the renderer tests: nodes get small fixed ids (NodeId{0, n}) so whole
// output texts can be compared, and every page reads its nodes in creation order unless told
// otherwise.

#include <memory>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "vorlin_core/model/document.h"

namespace vorlin_core::testing_support {

struct NodeDraft {
  NodeKind kind;
  std::string content;
};

inline NodeDraft heading(std::uint8_t level, std::string content) {
  return {NodeKind::heading(level), std::move(content)};
}
inline NodeDraft of(NodeKind::Tag tag, std::string content) {
  return {NodeKind::of(tag), std::move(content)};
}
inline NodeDraft paragraph(std::string content) {
  return of(NodeKind::Tag::Paragraph, std::move(content));
}

class DocumentBuilder {
 public:
  DocumentBuilder() {
    document_.source_sha256 = "abc";
    document_.source_filename = "f.pdf";
    document_.profile = "balanced";
  }

  // Appends a page whose reading order is its creation order; returns its nodes.
  std::vector<NodePtr> page(const std::vector<NodeDraft>& drafts) {
    std::vector<std::size_t> reading(drafts.size());
    std::iota(reading.begin(), reading.end(), 0);
    return page(drafts, reading);
  }

  // Appends a page with an explicit reading order, given as positions into `drafts`.
  std::vector<NodePtr> page(const std::vector<NodeDraft>& drafts,
                            const std::vector<std::size_t>& reading) {
    std::vector<NodePtr> nodes;
    for (const NodeDraft& draft : drafts) nodes.push_back(node(draft));
    std::vector<NodeId> order;
    for (std::size_t position : reading) order.push_back(nodes.at(position)->id);
    add_page(nodes, order);
    return nodes;
  }

  void add_page(std::vector<NodePtr> nodes, std::vector<NodeId> order) {
    auto page = std::make_shared<Page>();
    page->nodes = std::move(nodes);
    page->reading_order = std::move(order);
    page->number = static_cast<std::uint32_t>(document_.pages.size() + 1);
    document_.pages.push_back(std::move(page));
  }

  NodePtr node(const NodeDraft& draft) {
    auto node = std::make_shared<Node>();
    node->id = NodeId{0, ++next_id_};
    node->kind = draft.kind;
    node->content = draft.content;
    node->bbox = BBox{10, 20, 30, 40};
    return node;
  }

  Document& document() { return document_; }

 private:
  Document document_;
  std::uint64_t next_id_ = 0;
};

}  // namespace vorlin_core::testing_support
