#pragma once
// The document half of the enhanced layout: running headers, footers and page numbers found
// across all pages, heading levels from the whole document's type sizes, then per page the
// column-wise blocks, captions beside their figures, and the reading order. Given the document's
// bookmarks, its outline names the headings it lists and their levels. What the type makes sure
// of about the document (its title) goes into its metadata.

#include <map>
#include <string>
#include <vector>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/pipeline/analyse_page.h"
#include "vorlin_core/pipeline/enhanced_page.h"

namespace vorlin_core {

struct FinishedDocument {
  std::vector<PageContent> pages;           // one content per laid page, in order
  std::map<std::string, std::string> extra;  // "title" when the type names one for sure
};

// Consumes the pages.
FinishedDocument finish_document(std::vector<LaidPage> pages,
                                 const std::vector<PdfBookmark>& bookmarks = {});

}  // namespace vorlin_core
