#pragma once
// Hand-built documents for the renderer tests: small fixed ids so that whole output texts can be
// compared.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "vorlin_core/model/document.h"

namespace vorlin_core::testing_support {

struct NodeDraft {
  NodeKind kind;
  std::string content;
  Provenance provenance = {};
  BBox bbox = {10, 20, 30, 40};
  std::vector<std::uint8_t> item_depths = {};
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

using Pages = std::vector<std::vector<NodeDraft>>;
using ReadingOrders = std::vector<std::vector<std::size_t>>;

// Node n (counted from 1 over the whole document) gets NodeId{0, n}. `reading[p]` lists positions
// into page p's drafts, one past the end naming an id that no node has; a page without an entry
// reads its nodes in creation order.
inline Document document_of(const Pages& pages, const ReadingOrders& reading = {}) {
  Document document{"abc", "f.pdf", kSchemaVersion, "balanced", {}, {}};
  std::uint64_t next_id = 0;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    auto page = std::make_shared<Page>();
    page->number = static_cast<std::uint32_t>(p + 1);
    for (const NodeDraft& d : pages[p]) {
      page->nodes.push_back(std::make_shared<Node>(
          Node{NodeId{0, ++next_id}, d.bbox, d.provenance, d.content, {}, d.kind, {}, d.item_depths}));
      if (p >= reading.size()) page->reading_order.push_back(page->nodes.back()->id);
    }
    for (std::size_t i : p < reading.size() ? reading[p] : std::vector<std::size_t>{}) {
      page->reading_order.push_back(i < page->nodes.size() ? page->nodes[i]->id : NodeId{1, i});
    }
    document.pages.push_back(std::move(page));
  }
  return document;
}

}  // namespace vorlin_core::testing_support
