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

// Figure images are written into `media_dir` when it is set; a failed write
// only logs a warning.
PageContent analyse_page(std::span<const PdfChar> chars, std::span<const PdfImage> images,
                         const BBox& page_box, const std::optional<std::string>& media_dir);

}  // namespace vorlin_core
