#pragma once
// One page's characters and figures become its nodes (creation order: text blocks, then figures)
// and their reading order.

#include <span>
#include <vector>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/model/document.h"

namespace vorlin_core {

struct PageContent {
  std::vector<NodePtr> nodes;
  std::vector<NodeId> reading_order;
};

// `figures` are the boxes of the page's images, in the backend's order; their nodes close the
// page's nodes in that order.
PageContent analyse_page(std::span<const PdfChar> chars, std::span<const BBox> figures,
                         const BBox& page_box);

}  // namespace vorlin_core
