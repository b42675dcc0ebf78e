#pragma once
// The section tree that both renderers walk: non-heading nodes nest under the
// nearest open heading of a smaller level; sections stay open across pages.

#include <cstdint>
#include <unordered_map>
#include <variant>
#include <vector>

#include "vorlin_core/model/document.h"

namespace vorlin_core {

struct OutlineItem;

struct OutlineSection {
  NodePtr heading;  // null for the root
  std::uint8_t level = 0;
  std::vector<OutlineItem> items;
};

// A leaf (non-heading node) or a nested section.
struct OutlineItem {
  std::variant<NodePtr, OutlineSection> value;
  const NodePtr* leaf() const { return std::get_if<NodePtr>(&value); }
  const OutlineSection* section() const { return std::get_if<OutlineSection>(&value); }
};

using Outline = OutlineSection;

// Reads the pages in order and each page's reading order; ids missing from a
// page's nodes are skipped, ids listed twice are placed twice.
Outline build_outline(const Document& document);

// The 1-based page number of every node a page lists; a duplicated id gets the last page that
// lists it.
std::unordered_map<NodeId, std::uint32_t> node_pages(const Document& document);

}  // namespace vorlin_core
