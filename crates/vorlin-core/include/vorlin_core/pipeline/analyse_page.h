#pragma once
// One page's characters and images become its nodes (creation order: text
// blocks, then figures) and their reading order.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/model/document.h"

namespace vorlin_core {

struct PageContent {
  std::vector<NodePtr> nodes;
  std::vector<NodeId> reading_order;
};

PageContent analyse_page(std::span<const PdfChar> chars, std::span<const PdfImage> images,
                         const BBox& page_box);

}  // namespace vorlin_core
