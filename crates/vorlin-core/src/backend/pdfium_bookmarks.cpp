#include "vorlin_core/backend/pdfium_bookmarks.h"

#include <algorithm>
#include <limits>
#include <unordered_set>
#include <utility>

#include "vorlin_geometry/utf8.h"

namespace vorlin_core {
namespace {

using pdfium::FPDF_BOOKMARK;

// Deeper entries share the deepest heading level; the count only needs to fit the level's type.
constexpr std::size_t kDeepestLevel = std::numeric_limits<std::uint8_t>::max();

bool is_high_surrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// PDFium hands titles over as NUL-terminated UTF-16LE; unpaired surrogates read as U+FFFD.
std::string title_of(const pdfium::PdfiumApi& api, FPDF_BOOKMARK bookmark) {
  const unsigned long bytes = api.FPDFBookmark_GetTitle(bookmark, nullptr, 0);
  if (bytes < 2) return {};
  std::vector<unsigned char> buffer(bytes);
  api.FPDFBookmark_GetTitle(bookmark, buffer.data(), bytes);
  std::vector<char32_t> units;
  for (std::size_t i = 0; i + 1 < buffer.size(); i += 2) {
    const char32_t unit = buffer[i] | (static_cast<char32_t>(buffer[i + 1]) << 8);
    if (unit == 0) break;
    units.push_back(unit);
  }
  std::string title;
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t ch = units[i];
    if (is_high_surrogate(ch) && i + 1 < units.size() && is_low_surrogate(units[i + 1])) {
      ch = 0x10000 + ((ch - 0xD800) << 10) + (units[++i] - 0xDC00);
    }
    vorlin_geometry::append_utf8(title, vorlin_geometry::scalar_or_replacement(ch));
  }
  return title;
}

PdfBookmark entry_of(const pdfium::PdfiumApi& api, pdfium::FPDF_DOCUMENT document,
                     FPDF_BOOKMARK bookmark, std::size_t depth) {
  PdfBookmark entry;
  entry.level = static_cast<std::uint8_t>(std::min(depth, kDeepestLevel));
  entry.title = title_of(api, bookmark);
  const pdfium::FPDF_DEST dest = api.FPDFBookmark_GetDest(document, bookmark);
  if (!dest) return entry;
  const int page = api.FPDFDest_GetDestPageIndex(document, dest);
  if (page < 0) return entry;
  entry.page = static_cast<std::size_t>(page);
  pdfium::FPDF_BOOL has_x = 0, has_y = 0, has_zoom = 0;
  float x = 0, y = 0, zoom = 0;
  if (api.FPDFDest_GetLocationInPage(dest, &has_x, &has_y, &has_zoom, &x, &y, &zoom) && has_y) {
    entry.y = y;
  }
  return entry;
}

}  // namespace

std::vector<PdfBookmark> read_bookmarks(const pdfium::PdfiumApi& api,
                                        pdfium::FPDF_DOCUMENT document) {
  std::vector<PdfBookmark> entries;
  std::unordered_set<FPDF_BOOKMARK> seen;
  // Depth first without recursion: each frame is the next bookmark to read at its depth.
  std::vector<std::pair<FPDF_BOOKMARK, std::size_t>> stack;
  if (FPDF_BOOKMARK first = api.FPDFBookmark_GetFirstChild(document, nullptr)) {
    stack.emplace_back(first, 1);
  }
  while (!stack.empty() && entries.size() < kMaxBookmarks) {
    const auto [bookmark, depth] = stack.back();
    stack.pop_back();
    if (!seen.insert(bookmark).second) continue;  // a loop back to a bookmark already read
    entries.push_back(entry_of(api, document, bookmark, depth));
    // The sibling waits under the children, which come first.
    if (FPDF_BOOKMARK next = api.FPDFBookmark_GetNextSibling(document, bookmark)) {
      stack.emplace_back(next, depth);
    }
    if (FPDF_BOOKMARK child = api.FPDFBookmark_GetFirstChild(document, bookmark)) {
      stack.emplace_back(child, depth + 1);
    }
  }
  return entries;
}

}  // namespace vorlin_core
