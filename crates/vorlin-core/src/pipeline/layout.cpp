#include "vorlin_core/pipeline/layout.h"

namespace vorlin_core {
namespace {

// Each page is analysed on its own as soon as it arrives.
class SpecLayout final : public LayoutStrategy {
 public:
  std::vector<NodeId> add_page(std::span<const PdfChar> chars, std::span<const PdfImage> images,
                               const BBox& page_box) override {
    pages_.push_back(analyse_page(chars, images, page_box));
    // Figures are the page's last nodes, one per image in image order.
    const std::vector<NodePtr>& nodes = pages_.back().nodes;
    std::vector<NodeId> figures;
    for (std::size_t i = nodes.size() - images.size(); i < nodes.size(); ++i) {
      figures.push_back(nodes[i]->id);
    }
    return figures;
  }
  std::vector<PageContent> finish() override { return std::move(pages_); }

 private:
  std::vector<PageContent> pages_;
};

}  // namespace

std::unique_ptr<LayoutStrategy> make_layout(Layout layout) {
  if (layout == Layout::Enhanced) return make_enhanced_layout();
  return std::make_unique<SpecLayout>();
}

}  // namespace vorlin_core
