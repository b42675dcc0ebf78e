#pragma once
// How a document's pages become nodes. The pipeline feeds every page in order,
// then takes all page contents at once, so a layout may look across pages
// (running headers, document-wide heading levels) before it decides.

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "vorlin_core/pipeline/analyse_page.h"

namespace vorlin_core {

enum class Layout {
  Spec,      // exactly the page-by-page passes of `analyse_page`
  Enhanced,  // columns, running furniture, captions, lists, hyphenation
};

class LayoutStrategy {
 public:
  virtual ~LayoutStrategy() = default;
  // Returns the ids of the figure nodes made for `images`, in image order, so the caller can save
  // each image while its page is still open.
  virtual std::vector<NodeId> add_page(std::span<const PdfChar> chars,
                                       std::span<const PdfImage> images, const BBox& page_box) = 0;
  // One content per added page, in order.
  virtual std::vector<PageContent> finish() = 0;
};

std::unique_ptr<LayoutStrategy> make_layout(Layout layout);

// The enhanced strategy, defined beside its passes.
std::unique_ptr<LayoutStrategy> make_enhanced_layout();

}  // namespace vorlin_core
