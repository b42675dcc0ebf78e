#include "vorlin_core/model/outline.h"

#include <unordered_map>

namespace vorlin_core {
namespace {

// The root plus a stack of open sections; closing a section appends it to
// whatever is now on top.
class OutlineBuilder {
 public:
  void add(const NodePtr& node) {
    if (!node->kind.is_heading()) {
      current_items().push_back(OutlineItem{node});
      return;
    }
    const std::uint8_t level = node->kind.level;
    while (!open_.empty() && open_.back().level >= level) close_top();
    open_.push_back(OutlineSection{node, level, {}});
  }

  Outline finish() && {
    while (!open_.empty()) close_top();
    return std::move(root_);
  }

 private:
  std::vector<OutlineItem>& current_items() {
    return open_.empty() ? root_.items : open_.back().items;
  }

  void close_top() {
    OutlineSection section = std::move(open_.back());
    open_.pop_back();
    current_items().push_back(OutlineItem{std::move(section)});
  }

  Outline root_;
  std::vector<OutlineSection> open_;
};

}  // namespace

Outline build_outline(const Document& document) {
  OutlineBuilder builder;
  for (const PagePtr& page : document.pages) {
    std::unordered_map<NodeId, NodePtr> by_id;
    by_id.reserve(page->nodes.size());
    for (const NodePtr& node : page->nodes) by_id[node->id] = node;  // later duplicate wins
    for (const NodeId& id : page->reading_order) {
      if (auto found = by_id.find(id); found != by_id.end()) builder.add(found->second);
    }
  }
  return std::move(builder).finish();
}

std::unordered_map<NodeId, std::uint32_t> node_pages(const Document& document) {
  std::unordered_map<NodeId, std::uint32_t> pages;
  std::size_t node_count = 0;
  for (const PagePtr& page : document.pages) node_count += page->nodes.size();
  pages.reserve(node_count);
  for (const PagePtr& page : document.pages) {
    for (const NodePtr& node : page->nodes) pages.insert_or_assign(node->id, page->number);
  }
  return pages;
}

}  // namespace vorlin_core
