#pragma once
// A page's nodes as "type:content" in reading order, so whole pages compare as one vector.

#include <span>
#include <string>
#include <vector>

#include "vorlin_core/model/document.h"

namespace vorlin_core::testing_support {

inline std::vector<std::string> read_out(std::span<const NodePtr> nodes,
                                         std::span<const NodeId> reading_order) {
  std::vector<std::string> texts;
  for (const NodeId& id : reading_order) {
    for (const NodePtr& node : nodes) {
      if (node->id == id) texts.push_back(type_string(node->kind) + ":" + node->content);
    }
  }
  return texts;
}

}  // namespace vorlin_core::testing_support
