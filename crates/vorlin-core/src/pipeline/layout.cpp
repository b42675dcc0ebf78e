#include "vorlin_core/pipeline/layout.h"

namespace vorlin_core {
namespace {

// Each page is analysed on its own as soon as it arrives.
class SpecLayout final : public LayoutStrategy {
 public:
  void add_page(std::span<const PdfChar> chars, std::span<const PdfImage> images,
                const BBox& page_box, const std::optional<std::string>& media_dir) override {
    pages_.push_back(analyse_page(chars, images, page_box, media_dir));
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
