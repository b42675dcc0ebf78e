#include "vorlin_core/pipeline/enhanced_document.h"
#include "vorlin_core/pipeline/enhanced_page.h"
#include "vorlin_core/pipeline/layout.h"

namespace vorlin_core {
namespace {

// Pages are laid out as they arrive; what needs the whole document waits for `finish`.
class EnhancedLayout final : public LayoutStrategy {
 public:
  bool reads_paths() const override { return true; }
  std::vector<NodeId> add_page(std::span<const PdfChar> chars, std::span<const PdfPath> paths,
                               std::span<const BBox> figures, const BBox& page_box) override {
    pages_.push_back(lay_out_page(chars, paths, figures, page_box));
    std::vector<NodeId> ids;
    ids.reserve(figures.size());
    for (const LaidFigure& figure : pages_.back().figures) ids.push_back(figure.id);
    return ids;
  }
  bool reads_ocr() const override { return true; }
  void note_ocr(std::vector<OcrBox> words) override { pages_.back().ocr_words = std::move(words); }
  void use_bookmarks(std::vector<PdfBookmark> bookmarks) override {
    bookmarks_ = std::move(bookmarks);
  }
  std::vector<PageContent> finish() override {
    FinishedDocument finished = finish_document(std::move(pages_), bookmarks_);
    extra_ = std::move(finished.extra);
    return std::move(finished.pages);
  }
  std::map<std::string, std::string> metadata() const override { return extra_; }

 private:
  std::vector<LaidPage> pages_;
  std::vector<PdfBookmark> bookmarks_;
  std::map<std::string, std::string> extra_;
};

}  // namespace

std::unique_ptr<LayoutStrategy> make_enhanced_layout() {
  return std::make_unique<EnhancedLayout>();
}

}  // namespace vorlin_core
