#include "vorlin_core/pipeline/enhanced_page.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "vorlin_core/pipeline/page_nodes.h"
#include "vorlin_geometry/accents.h"
#include "vorlin_geometry/columns.h"
#include "vorlin_geometry/drop_caps.h"
#include "vorlin_geometry/equations.h"
#include "vorlin_geometry/fixed_pitch.h"
#include "vorlin_geometry/furniture.h"
#include "vorlin_geometry/gutters.h"
#include "vorlin_geometry/letter_runs.h"
#include "vorlin_geometry/ligatures.h"
#include "vorlin_geometry/lone_bullets.h"
#include "vorlin_geometry/noise.h"
#include "vorlin_geometry/shades.h"
#include "vorlin_geometry/stray_letters.h"
#include "vorlin_geometry/tables.h"
#include "vorlin_geometry/upright.h"
#include "vorlin_geometry/word_line.h"

namespace vorlin_core {
namespace {

namespace geo = vorlin_geometry;

// Share of a line's non-space characters that must be fixed-pitch for it to be program text.
constexpr float kMonospaceShare = 0.6f;

// The page's characters upright, accents in their letters, ligatures as letters and drop caps on
// their lines. Turns, accents and ligatures are rare, so a page without any skips their copies.
geo::UprightPage letters(std::span<const PdfChar> pdf_chars, const BBox& page_box) {
  std::vector<geo::PageChar> chars = page_chars(pdf_chars);
  bool turned = false, accents = false, ligatures = false;
  for (geo::PageChar& c : chars) {
    turned = turned || (c.angle != 0 && geo::quarter_turns(c.angle) != 0);  // upright: no call
    accents = accents || geo::is_spacing_accent(c.ch);
    ligatures = ligatures || !geo::ligature_letters(c.ch).empty();
  }
  geo::UprightPage page =
      turned ? geo::turn_upright(chars, page_box) : geo::UprightPage{std::move(chars), page_box, 0};
  if (accents) page.chars = geo::fold_accents(page.chars);
  if (ligatures) page.chars = geo::expand_ligatures(page.chars);
  page.chars = geo::seat_drop_caps(std::move(page.chars));
  return page;
}

// Share of a line's letters that must be bold or small capitals for it to be emphasised, and
// italic for it to be italic: a word set in another face inside a heading leaves it a heading.
constexpr float kEmphasisShare = 0.75f;
// Share of a line's visible characters set in math faces for it to read as a formula: operators,
// digits and function names come from the text face.
constexpr float kMathShare = 0.3f;

struct LineLook {
  bool emphasised = false;
  bool monospace = false;
  bool italic = false;
  bool math = false;
  std::uint32_t font_id = 0;
};

LineLook line_look(const geo::TextLine& line, std::span<const geo::PageChar> chars) {
  std::size_t letters = 0, emphasised = 0, italic = 0, visible = 0, monospace = 0, math = 0;
  // Lines hold a handful of fonts; a flat list is cheaper than a map.
  std::vector<std::pair<std::uint32_t, std::size_t>> fonts;
  for (std::size_t p : line.char_indices) {
    const geo::PageChar& c = chars[p];
    if (geo::is_whitespace(c.ch)) continue;
    ++visible;
    monospace += c.monospace ? 1 : 0;
    math += c.math ? 1 : 0;
    if (!geo::is_alphabetic(c.ch)) continue;
    ++letters;
    emphasised += c.bold || c.small_caps ? 1 : 0;
    italic += c.italic ? 1 : 0;
    const auto font =
        std::ranges::find(fonts, c.font_id, &std::pair<std::uint32_t, std::size_t>::first);
    if (font == fonts.end()) {
      fonts.emplace_back(c.font_id, 1);
    } else {
      ++font->second;
    }
  }
  LineLook look;
  const auto share = [](std::size_t part, std::size_t whole, float at_least) {
    return whole > 0 && static_cast<float>(part) >= at_least * static_cast<float>(whole);
  };
  look.emphasised = share(emphasised, letters, kEmphasisShare);
  look.italic = share(italic, letters, kEmphasisShare);
  look.monospace = share(monospace, visible, kMonospaceShare);
  look.math = share(math, visible, kMathShare);
  std::size_t most = 0;
  for (const auto& [font, count] : fonts) {
    if (count > most) std::tie(look.font_id, most) = std::pair(font, count);
  }
  return look;
}

// Rules turn with the text, so that both meet in the upright page's frame.
std::vector<geo::FoundTable> page_tables(std::span<const PdfPath> paths,
                                         std::span<const geo::PageChar> chars,
                                         std::span<const geo::TextLine> lines,
                                         const BBox& visible_box, int turns) {
  std::vector<geo::PagePath> page_paths;
  page_paths.reserve(paths.size());
  for (const PdfPath& path : paths) {
    const BBox box = geo::turn_box(BBox{path.x0, path.y0, path.x1, path.y1}, visible_box, turns);
    page_paths.push_back(geo::PagePath{box, path.stroked, path.filled});
  }
  const std::vector<BBox> rules = geo::ruling_lines(page_paths);
  return geo::find_tables(rules, chars, lines);
}

// The characters no table holds; the tables are whole blocks of their own.
std::vector<geo::PageChar> outside(std::vector<geo::PageChar> chars,
                                   const std::vector<geo::FoundTable>& tables) {
  std::vector<bool> held(chars.size(), false);
  for (const geo::FoundTable& table : tables) {
    for (std::size_t g : table.glyphs) held[g] = true;
  }
  // Spaces belong to no table's cells; those inside one go with it.
  const auto in_a_table = [&tables](const geo::PageChar& c) {
    const float x = c.bbox.centre_x(), y = c.bbox.centre_y();
    return std::ranges::any_of(tables, [x, y](const geo::FoundTable& t) {
      return x >= t.bbox.x0 && x <= t.bbox.x1 && y >= t.bbox.y0 && y <= t.bbox.y1;
    });
  };
  std::vector<geo::PageChar> kept;
  kept.reserve(chars.size());
  for (std::size_t i = 0; i < chars.size(); ++i) {
    if (held[i] || (geo::is_whitespace(chars[i].ch) && in_a_table(chars[i]))) continue;
    kept.push_back(std::move(chars[i]));
  }
  return kept;
}

bool in_any(std::span<const BBox> boxes, const BBox& box) {
  return std::ranges::any_of(boxes, [&box](const BBox& b) { return geo::holds_centre(b, box); });
}

// The page's listing shades (shades.h) in the upright frame, their badges' characters dropped
// (`lines`, the lines of `chars`, then grouped again).
std::vector<BBox> page_shades(std::vector<geo::PageChar>& chars, std::vector<geo::TextLine>& lines,
                              std::span<const PdfPath> paths, const BBox& visible_box, int turns) {
  std::vector<BBox> fills, boxes;
  for (const PdfPath& path : paths) {
    boxes.push_back(geo::turn_box(BBox{path.x0, path.y0, path.x1, path.y1}, visible_box, turns));
    // A white or faint box is a background or a shadow (a printed site header's), not a tint.
    if (path.filled && !path.blank) fills.push_back(boxes.back());
  }
  if (fills.empty()) return {};
  std::vector<geo::ShadeLine> shade_lines;
  for (const geo::TextLine& line : lines) {
    shade_lines.push_back({line.bbox, line_look(line, chars).monospace});
  }
  std::vector<BBox> shades = geo::listing_shades(shade_lines, fills);
  const std::vector<BBox> badges = geo::shade_badges(shades, boxes);
  if (!badges.empty()) {
    std::erase_if(chars, [&badges](const geo::PageChar& c) { return in_any(badges, c.bbox); });
    lines = geo::group_lines(chars);
  }
  return shades;
}

}  // namespace

LaidPage lay_out_page(std::span<const PdfChar> pdf_chars, std::span<const PdfPath> paths,
                      std::span<const BBox> page_figures, const BBox& visible_box) {
  geo::UprightPage upright = letters(pdf_chars, visible_box);
  std::vector<geo::PageChar> chars = std::move(upright.chars);
  const BBox& page_box = upright.page;
  std::vector<BBox> figures(page_figures.begin(), page_figures.end());
  for (BBox& figure : figures) figure = geo::turn_box(figure, visible_box, upright.turns);
  // Grouped once for the shades, the tables and the page's text, unless a pass takes characters.
  std::vector<geo::TextLine> lines = geo::group_lines(chars);
  const std::vector<BBox> shades = page_shades(chars, lines, paths, visible_box, upright.turns);
  std::vector<geo::FoundTable> tables =
      page_tables(paths, chars, lines, visible_box, upright.turns);
  // A listing's frame rules no table.
  std::erase_if(tables, [&shades](const geo::FoundTable& t) { return in_any(shades, t.bbox); });
  if (!tables.empty()) {
    chars = outside(std::move(chars), tables);
    lines = geo::group_lines(chars);
  }
  // A listing's aligned comments leave a strip as clear as a gutter: its lines are no evidence
  // of columns, and its shade ends any strip it crosses.
  std::vector<geo::TextLine> gutter_lines;
  for (const geo::TextLine& line : lines) {
    if (!in_any(shades, line.bbox)) gutter_lines.push_back(line);
  }
  std::vector<BBox> obstacles = figures;
  obstacles.insert(obstacles.end(), shades.begin(), shades.end());
  const std::vector<geo::Gutter> gutters = geo::find_gutters(gutter_lines, chars, obstacles);
  if (!gutters.empty()) lines = geo::split_at_gutters(std::move(lines), chars, gutters);
  lines = geo::attach_lone_bullets(std::move(lines), chars);
  lines = geo::attach_stray_letters(std::move(lines), chars);
  const geo::ColumnLayout layout = geo::column_layout(gutters);

  LaidPage page{page_box, {}, {}, {}, {}};
  for (const geo::TextLine& line : lines) {
    std::u32string text = geo::mended_line_text(line, chars);
    if (text.empty()) continue;
    const bool page_number =
        geo::band_of(line.bbox, page_box) != geo::Band::None && geo::is_page_number_text(text);
    if (!page_number && geo::is_noise(line, chars, page_box)) continue;
    const LineLook look = line_look(line, chars);
    // Program text keeps its columns; words alone would lose its alignment.
    const float pitch = look.monospace ? geo::fixed_pitch(line, chars) : 0.0f;
    page.lines.push_back(geo::LaidLine{std::move(text), line.bbox, geo::line_font_size(line, chars),
                                       geo::locate(layout, line.bbox), geo::LineRole::body(),
                                       look.emphasised, look.monospace, look.italic, look.font_id,
                                       pitch, pitch > 0 && in_any(shades, line.bbox)});
    if (pitch > 0) page.lines.back().columns = geo::fixed_pitch_text(line, chars, pitch);
    page.lines.back().equation_number =
        geo::ends_in_equation_number(line, chars, page.lines.back().text);
    page.lines.back().math = look.math;
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
