#include "vorlin_core/render/blocks.h"

#include <unordered_map>

#include "vorlin_core/model/outline.h"
#include "vorlin_core/render/markdown.h"
#include "vorlin_core/render/white_space.h"

namespace vorlin_core {
namespace {

class BlockWalker {
 public:
  BlockWalker(Blocks& out, const std::unordered_map<NodeId, std::uint32_t>& pages)
      : out_(out), pages_(pages) {}

  void visit(const OutlineSection& section, const std::vector<std::string>& outer) {
    std::vector<std::string> path = outer;
    if (section.heading) path.emplace_back(trim_white_space(section.heading->content));
    const std::size_t index = out_.sections.size();
    out_.sections.push_back(path);
    if (section.heading) add(section.heading, index);
    for (const OutlineItem& item : section.items) {
      if (const NodePtr* leaf = item.leaf()) {
        add(*leaf, index);
      } else {
        visit(*item.section(), path);
      }
    }
  }

 private:
  void add(const NodePtr& node, std::size_t section) {
    std::string markdown = render_node_markdown(*node);
    if (markdown.empty()) return;
    const auto page = pages_.find(node->id);
    out_.blocks.push_back(
        Block{node, std::move(markdown), page == pages_.end() ? 0 : page->second, section});
  }

  Blocks& out_;
  const std::unordered_map<NodeId, std::uint32_t>& pages_;
};

}  // namespace

Blocks document_blocks(const Document& document) {
  Blocks out;
  BlockWalker(out, node_pages(document)).visit(build_outline(document), {});
  return out;
}

}  // namespace vorlin_core
