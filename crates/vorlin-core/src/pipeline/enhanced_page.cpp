#include "vorlin_core/pipeline/enhanced_page.h"

#include <algorithm>

#include "vorlin_core/pipeline/page_nodes.h"
#include "vorlin_geometry/columns.h"
#include "vorlin_geometry/furniture.h"
#include "vorlin_geometry/gutters.h"
#include "vorlin_geometry/letter_runs.h"
#include "vorlin_geometry/ligatures.h"
#include "vorlin_geometry/lone_bullets.h"
#include "vorlin_geometry/noise.h"
#include "vorlin_geometry/word_line.h"

namespace vorlin_core {
namespace {

namespace geo = vorlin_geometry;

// Ligatures are rare, so a page without one skips the second copy.
std::vector<geo::PageChar> letters(std::span<const PdfChar> pdf_chars) {
  std::vector<geo::PageChar> chars = page_chars(pdf_chars);
  const bool ligatures = std::ranges::any_of(
      chars, [](const geo::PageChar& c) { return !geo::ligature_letters(c.ch).empty(); });
  return ligatures ? geo::expand_ligatures(chars) : chars;
}

}  // namespace

LaidPage lay_out_page(std::span<const PdfChar> pdf_chars, std::span<const BBox> figures,
                      const BBox& page_box) {
  const std::vector<geo::PageChar> chars = letters(pdf_chars);
  std::vector<geo::TextLine> lines = geo::group_lines(chars);
  const std::vector<geo::Gutter> gutters = geo::find_gutters(lines, chars, figures);
  if (!gutters.empty()) lines = geo::split_at_gutters(std::move(lines), chars, gutters);
  lines = geo::attach_lone_bullets(std::move(lines), chars);
  const geo::ColumnLayout layout = geo::column_layout(gutters);

  LaidPage page{page_box, {}, {}};
  for (const geo::TextLine& line : lines) {
    std::u32string text = geo::mended_line_text(line, chars);
    if (text.empty()) continue;
    const bool page_number =
        geo::band_of(line.bbox, page_box) != geo::Band::None && geo::is_page_number_text(text);
    if (!page_number && geo::is_noise(line, chars, page_box)) continue;
    page.lines.push_back(geo::LaidLine{std::move(text), line.bbox, geo::line_font_size(line, chars),
                                       geo::locate(layout, line.bbox), geo::LineRole::body()});
  }
  for (const BBox& figure : figures) {
    page.figures.push_back(LaidFigure{new_node_id(), figure, geo::locate(layout, figure)});
  }
  return page;
}

}  // namespace vorlin_core
