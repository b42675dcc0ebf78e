#pragma once
// The parsed document: pages of typed nodes with their reading order.
// Built once by the pipeline, immutable afterwards, shared by reference count.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "vorlin_core/model/node_id.h"
#include "vorlin_core/model/node_kind.h"
#include "vorlin_core/model/provenance.h"
#include "vorlin_geometry/bbox.h"

namespace vorlin_core {

using vorlin_geometry::BBox;

struct Node;
using NodePtr = std::shared_ptr<const Node>;

struct Node {
  NodeId id;
  BBox bbox;
  Provenance provenance;
  std::string content;
  std::vector<NodePtr> children;  // always empty from the pipeline; renderers ignore it
  NodeKind kind;
  std::vector<std::vector<std::string>> cells;  // a table's rows of cell texts; empty otherwise
  // A nested list's depth per item line of `content`, 0 outermost; empty for any other node and
  // for a list whose depths are unknown, which renders flat.
  std::vector<std::uint8_t> item_depths;
};

struct Page {
  std::vector<NodePtr> nodes;  // creation order: text nodes, then figures
  std::vector<NodeId> reading_order;
  float width = 0;
  float height = 0;
  BBox bbox;
  std::uint32_t number = 1;  // 1-based
  bool landscape = false;
};
using PagePtr = std::shared_ptr<const Page>;

inline constexpr const char* kSchemaVersion = "0.1.1";

struct Document {
  std::string source_sha256;
  std::string source_filename;
  std::string schema_version = kSchemaVersion;
  std::string profile;
  std::map<std::string, std::string> extra;  // ordered by key bytes
  std::vector<PagePtr> pages;
};

}  // namespace vorlin_core
