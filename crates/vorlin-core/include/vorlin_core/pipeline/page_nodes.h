#pragma once
// What both layouts build a page from and into: the backend's characters as the geometry passes'
// records, and a fresh node.

#include <span>
#include <string>
#include <vector>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/model/document.h"
#include "vorlin_geometry/primitives.h"

namespace vorlin_core {

std::vector<vorlin_geometry::PageChar> page_chars(std::span<const PdfChar> chars);

NodePtr make_node(NodeKind kind, const BBox& bbox, std::string content, NodeId id = new_node_id());

}  // namespace vorlin_core
