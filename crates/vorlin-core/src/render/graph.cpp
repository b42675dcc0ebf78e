#include "vorlin_core/render/graph.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "vorlin_core/model/outline.h"

namespace vorlin_core {
namespace {

using PageIndex = std::unordered_map<NodeId, std::uint32_t>;

class GraphWalker {
 public:
  GraphWalker(Graph& graph, const PageIndex& pages) : graph_(graph), pages_(pages) {}

  void visit(const OutlineSection& section, std::optional<NodeId> parent) {
    std::optional<NodeId> items_parent = parent;
    if (section.heading) {
      add_node(*section.heading, "section");
      if (parent) add_edge(*parent, section.heading->id, Relation::Contains);
      items_parent = section.heading->id;
    }
    std::optional<NodeId> previous;
    for (const OutlineItem& item : section.items) {
      if (const NodePtr* leaf = item.leaf()) {
        const Node& node = **leaf;
        add_node(node, {});
        if (items_parent) add_edge(*items_parent, node.id, Relation::Contains);
        if (previous) add_edge(*previous, node.id, Relation::Follows);
        previous = node.id;
        continue;
      }
      const OutlineSection& nested = *item.section();
      visit(nested, items_parent);
      // Only the root lacks a heading, and the root is never nested.
      if (!nested.heading) continue;
      if (previous) add_edge(*previous, nested.heading->id, Relation::Follows);
      previous = nested.heading->id;
    }
  }

 private:
  void add_node(const Node& node, std::string_view extra_tag) {
    GraphNode& out = graph_.nodes.emplace_back();
    out.id = node.id;
    out.node_type = type_string(node.kind);
    out.content = node.content;
    out.cells = node.cells;
    out.item_depths = node.item_depths;
    out.bbox = node.bbox;
    const auto page = pages_.find(node.id);
    out.page = page == pages_.end() ? 0 : page->second;
    out.provenance = node.provenance;
    const std::vector<std::string_view> kind = kind_tags(node.kind);
    out.tags.assign(kind.begin(), kind.end());
    if (!extra_tag.empty() && std::ranges::find(out.tags, extra_tag) == out.tags.end()) {
      out.tags.emplace_back(extra_tag);
    }
  }

  void add_edge(const NodeId& from, const NodeId& to, Relation relation) {
    graph_.edges.push_back(Edge{from, to, relation});
  }

  Graph& graph_;
  const PageIndex& pages_;
};

bool is(const Node& node, NodeKind::Tag tag) { return node.kind.tag == tag; }

// Figure (or table) and caption next to each other in one page's reading order, in either order;
// the edge always runs from the figure to the caption. Unlike the outline, the first node with an
// id wins.
void add_caption_edges(const Page& page, std::vector<Edge>& edges) {
  std::unordered_map<NodeId, const Node*> first_by_id;
  first_by_id.reserve(page.nodes.size());
  for (const NodePtr& node : page.nodes) first_by_id.try_emplace(node->id, node.get());
  const Node* previous = nullptr;
  for (const NodeId& id : page.reading_order) {
    const auto found = first_by_id.find(id);
    if (found == first_by_id.end()) continue;
    const Node* current = found->second;
    if (previous != nullptr) {
      using Tag = NodeKind::Tag;
      const auto captioned = [](const Node& node) {
        return is(node, Tag::Figure) || is(node, Tag::Table);
      };
      if (captioned(*previous) && is(*current, Tag::Caption)) {
        edges.push_back(Edge{previous->id, current->id, Relation::CaptionOf});
      } else if (is(*previous, Tag::Caption) && captioned(*current)) {
        edges.push_back(Edge{current->id, previous->id, Relation::CaptionOf});
      }
    }
    previous = current;
  }
}

}  // namespace

Graph build_graph(const Document& document) {
  Graph graph;
  const PageIndex pages = node_pages(document);
  graph.nodes.reserve(pages.size());
  graph.edges.reserve(2 * pages.size());
  GraphWalker(graph, pages).visit(build_outline(document), std::nullopt);
  for (const PagePtr& page : document.pages) add_caption_edges(*page, graph.edges);
  graph.meta = GraphMeta{document.source_sha256, document.source_filename, document.schema_version,
                         document.profile, document.extra};
  return graph;
}

}  // namespace vorlin_core
