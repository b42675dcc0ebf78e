#include "vorlin_core/pipeline/enhanced_page.h"

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

std::vector<geo::PageChar> page_chars(std::span<const PdfChar> chars) {
  std::vector<geo::PageChar> copies;
  copies.reserve(chars.size());
  bool ligatures = false;
  for (const PdfChar& c : chars) {
    copies.push_back(geo::PageChar{c.ch, BBox{c.x0, c.y0, c.x1, c.y1}, c.font_size});
    ligatures = ligatures || !geo::ligature_letters(c.ch).empty();
  }
  return ligatures ? geo::expand_ligatures(copies) : copies;
}

// Mean font size over every member, valid or not, as the plain page analysis computes it.
float line_font_size(const geo::TextLine& line, std::span<const geo::PageChar> chars) {
  float sum = -0.0f;
  for (std::size_t position : line.char_indices) sum += geo::char_at(chars, position).font_size;
  const std::size_t count = line.char_indices.empty() ? 1 : line.char_indices.size();
  return sum / static_cast<float>(count);
}

bool is_noise(const geo::TextLine& line, std::span<const geo::PageChar> chars,
              const BBox& page_box) {
  return geo::is_top_numeric_label(line, chars, page_box) || geo::is_lone_symbol(line, chars) ||
         geo::is_bottom_page_number(line, chars, page_box);
}

}  // namespace

LaidPage lay_out_page(std::span<const PdfChar> pdf_chars, std::span<const PdfImage> images,
                      const BBox& page_box) {
  LaidPage page{page_box, {}, {}};
  std::vector<BBox> figure_boxes;
  for (const PdfImage& image : images) {
    figure_boxes.push_back(BBox{image.x0, image.y0, image.x1, image.y1});
  }

  const std::vector<geo::PageChar> chars = page_chars(pdf_chars);
  std::vector<geo::TextLine> lines = geo::group_lines(chars);
  const std::vector<geo::Gutter> gutters = geo::find_gutters(lines, chars, figure_boxes);
  if (!gutters.empty()) lines = geo::split_at_gutters(std::move(lines), chars, gutters);
  lines = geo::attach_lone_bullets(std::move(lines), chars);
  const geo::ColumnLayout layout = geo::column_layout(gutters);

  for (const geo::TextLine& line : lines) {
    std::string text = geo::mended_line_text(line, chars);
    if (text.empty()) continue;
    const bool page_number =
        geo::band_of(line.bbox, page_box) != geo::Band::None && geo::is_page_number_text(text);
    if (!page_number && is_noise(line, chars, page_box)) continue;
    page.lines.push_back(geo::LaidLine{std::move(text), line.bbox, line_font_size(line, chars),
                                       geo::locate(layout, line.bbox), geo::LineRole::body()});
  }

  for (std::size_t i = 0; i < images.size(); ++i) {
    page.figures.push_back(
        LaidFigure{new_node_id(), figure_boxes[i], geo::locate(layout, figure_boxes[i])});
  }
  return page;
}

}  // namespace vorlin_core
