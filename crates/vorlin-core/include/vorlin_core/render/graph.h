#pragma once
// The graph of a document: nodes in outline order (each heading before the content of its
// section) and the derived contains / follows / caption-of edges. Building cannot fail.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "vorlin_core/model/document.h"
#include "vorlin_core/model/relation.h"

namespace vorlin_core {

struct GraphMeta {
  std::string source_sha256;
  std::string source_filename;
  std::string schema_version;
  std::string profile;
  std::map<std::string, std::string> extra;
};

struct GraphNode {
  NodeId id;
  std::string node_type;
  std::string content;  // as in the document, not trimmed
  BBox bbox;
  std::uint32_t page = 0;  // 0 when no page lists the node
  Provenance provenance;
  std::vector<std::string> tags;
  std::vector<std::vector<std::string>> cells;  // tables only; written when not empty
  std::vector<std::uint8_t> item_depths;        // nested lists only; written when not empty
};

struct Graph {
  GraphMeta meta;
  std::vector<GraphNode> nodes;
  std::vector<Edge> edges;
};

// Walks `build_outline(document)` depth first; then appends, page by page, a caption-of edge
// from each figure to a caption adjacent to it in that page's reading order.
Graph build_graph(const Document& document);

}  // namespace vorlin_core
