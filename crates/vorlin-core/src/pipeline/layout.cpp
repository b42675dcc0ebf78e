#include "vorlin_core/pipeline/layout.h"

namespace vorlin_core {
namespace {

// Each page is analysed on its own as soon as it arrives.
class SpecLayout final : public LayoutStrategy {
 public:
  std::vector<NodeId> add_page(std::span<const PdfChar> chars, std::span<const PdfPath>,
                               std::span<const BBox> figures, const BBox& page_box) override {
    pages_.push_back(analyse_page(chars, figures, page_box));
    // The figures' nodes close the page's nodes, in image order.
    const std::vector<NodePtr>& nodes = pages_.back().nodes;
    std::vector<NodeId> ids;
    ids.reserve(figures.size());
    for (std::size_t i = nodes.size() - figures.size(); i < nodes.size(); ++i) {
      ids.push_back(nodes[i]->id);
    }
    return ids;
  }
  std::vector<PageContent> finish() override { return std::move(pages_); }

 private:
  std::vector<PageContent> pages_;
};

}  // namespace

std::optional<Layout> layout_named(std::string_view name) {
  for (const LayoutName& entry : kLayoutNames) {
    if (entry.name == name) return entry.layout;
  }
  return std::nullopt;
}

std::unique_ptr<LayoutStrategy> make_layout(Layout layout) {
  if (layout == Layout::Enhanced) return make_enhanced_layout();
  return std::make_unique<SpecLayout>();
}

}  // namespace vorlin_core
