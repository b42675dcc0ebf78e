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
#include "vorlin_geometry/tables.h"
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

std::vector<geo::FoundTable> page_tables(std::span<const PdfPath> paths,
                                         std::span<const geo::PageChar> chars) {
  std::vector<geo::PagePath> page_paths;
  page_paths.reserve(paths.size());
  for (const PdfPath& path : paths) {
    page_paths.push_back(geo::PagePath{BBox{path.x0, path.y0, path.x1, path.y1}, path.stroked});
  }
  const std::vector<BBox> rules = geo::ruling_lines(page_paths);
  if (rules.empty()) return {};
  return geo::find_tables(rules, chars);
}

// The characters outside every table; the tables are whole blocks of their own.
std::vector<geo::PageChar> outside(std::vector<geo::PageChar> chars,
                                   const std::vector<geo::FoundTable>& tables) {
  std::erase_if(chars, [&tables](const geo::PageChar& c) {
    const float x = c.bbox.centre_x(), y = c.bbox.centre_y();
    return std::ranges::any_of(tables, [x, y](const geo::FoundTable& t) {
      return x >= t.bbox.x0 && x <= t.bbox.x1 && y >= t.bbox.y0 && y <= t.bbox.y1;
    });
  });
  return chars;
}

}  // namespace

LaidPage lay_out_page(std::span<const PdfChar> pdf_chars, std::span<const PdfPath> paths,
                      std::span<const BBox> figures, const BBox& page_box) {
  std::vector<geo::PageChar> chars = letters(pdf_chars);
  std::vector<geo::FoundTable> tables = page_tables(paths, chars);
  if (!tables.empty()) chars = outside(std::move(chars), tables);
  std::vector<geo::TextLine> lines = geo::group_lines(chars);
  const std::vector<geo::Gutter> gutters = geo::find_gutters(lines, chars, figures);
  if (!gutters.empty()) lines = geo::split_at_gutters(std::move(lines), chars, gutters);
  lines = geo::attach_lone_bullets(std::move(lines), chars);
  const geo::ColumnLayout layout = geo::column_layout(gutters);

  LaidPage page{page_box, {}, {}, {}};
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
  for (geo::FoundTable& table : tables) {
    page.tables.push_back(
        LaidTable{table.bbox, std::move(table.cells), geo::locate(layout, table.bbox)});
  }
  return page;
}

}  // namespace vorlin_core
