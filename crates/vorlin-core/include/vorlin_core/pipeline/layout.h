#pragma once
// How a document's pages become nodes. The pipeline feeds every page in order,
// then takes all page contents at once, so a layout may look across pages
// (running headers, document-wide heading levels) before it decides.

#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vorlin_core/ocr/ocr_page.h"
#include "vorlin_core/pipeline/analyse_page.h"

namespace vorlin_core {

enum class Layout {
  Spec,      // exactly the page-by-page passes of `analyse_page`
  Enhanced,  // those passes plus columns, running furniture, captions, lists, hyphenation
};

struct LayoutName {
  std::string_view name;
  Layout layout;
};

// The names callers choose a layout by, the default first.
inline constexpr LayoutName kLayoutNames[] = {{"enhanced", Layout::Enhanced},
                                              {"spec", Layout::Spec}};

// The layout called `name`, if any.
std::optional<Layout> layout_named(std::string_view name);

class LayoutStrategy {
 public:
  virtual ~LayoutStrategy() = default;
  // Whether add_page looks at the page's paths; the caller reads them only then.
  virtual bool reads_paths() const { return false; }
  // `figures` are the boxes of the page's images, in the backend's order. Returns the ids of
  // their nodes in that order, so the caller can save each image under its node's id.
  virtual std::vector<NodeId> add_page(std::span<const PdfChar> chars,
                                       std::span<const PdfPath> paths,
                                       std::span<const BBox> figures, const BBox& page_box) = 0;
  // Whether the layout takes text read by OCR; the caller runs OCR only then.
  virtual bool reads_ocr() const { return false; }
  // The words of the page last added, when OCR gave its text: their nodes carry OCR provenance.
  virtual void note_ocr(std::vector<OcrBox>) {}
  // The document's outline, before the first page; a layout may name headings by it.
  virtual void use_bookmarks(std::vector<PdfBookmark>) {}
  // One content per added page, in order.
  virtual std::vector<PageContent> finish() = 0;
  // What the layout made sure of about the document (its title), once finished: the document's
  // free-form metadata.
  virtual std::map<std::string, std::string> metadata() const { return {}; }
};

std::unique_ptr<LayoutStrategy> make_layout(Layout layout);

// The enhanced strategy, defined beside its passes.
std::unique_ptr<LayoutStrategy> make_enhanced_layout();

}  // namespace vorlin_core
