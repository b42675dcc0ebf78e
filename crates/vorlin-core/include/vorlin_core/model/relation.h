#pragma once
// Typed edges between nodes; derived by the graph writer, never stored.

#include <cstdint>
#include <string_view>

#include "vorlin_core/model/node_id.h"

namespace vorlin_core {

enum class Relation : std::uint8_t { Contains, Follows, CaptionOf, References };

// "contains", "follows", "caption-of" or "references".
std::string_view wire_string(Relation relation);

struct Edge {
  NodeId from;
  NodeId to;
  Relation relation;
  bool operator==(const Edge&) const = default;
};

}  // namespace vorlin_core
