// The enhanced layout end to end on synthetic pages: how it composes the geometry passes (each
// pinned in its own suite) into nodes, reading order, Markdown and graph edges.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "support/fake_backend.h"
#include "support/read_out.h"
#include "support/temp_dir.h"
#include "vorlin_core/pipeline/parse_document.h"
#include "vorlin_core/render/graph.h"
#include "vorlin_core/render/graph_json.h"
#include "vorlin_core/render/markdown.h"

namespace vorlin_core {
namespace {

using testing_support::add_text;
using testing_support::FakeBackend;
using testing_support::FakePage;
using testing_support::image_at;

// Column rows at 12-point pitch: `rows` lines of "<prefix> line <k> of body text" from `top`;
// returns the paragraph they make.
std::string add_column(std::vector<PdfChar>& chars, char prefix, float x, float top, int rows) {
  std::string paragraph;
  for (int k = 0; k < rows; ++k) {
    const std::string line = std::string(1, prefix) + " line " + char('a' + k) + " of body text";
    add_text(chars, std::u32string(line.begin(), line.end()), x, top - 12.0f * k);
    paragraph += (k ? " " : "") + line;
  }
  return paragraph;
}

Document parse(std::vector<FakePage> pages) {
  testing_support::TempDir dir;
  auto document = parse_document(dir.file("doc.pdf", "%PDF"), {}, FakeBackend(std::move(pages)),
                                 {.layout = Layout::Enhanced});
  if (!document) throw std::runtime_error(document.error().message);
  return std::move(*document);
}

std::vector<std::string> read_out(const Page& page) {
  return testing_support::read_out(page.nodes, page.reading_order);
}

TEST(enhanced_layout, full_width_title_and_figure_stay_whole_between_columns) {
  FakePage page;
  add_text(page.chars, U"Results Of The Layout Study", 60, 760, 20);
  const std::string a = add_column(page.chars, 'A', 60, 700, 6);
  const std::string b = add_column(page.chars, 'B', 320, 700, 6);
  page.images.push_back(image_at(60, 500, 540, 610));
  add_text(page.chars, U"Figure 1: Both columns at once.", 60, 485, 8);
  const std::string c = add_column(page.chars, 'C', 60, 450, 6);
  const std::string d = add_column(page.chars, 'D', 320, 450, 6);

  const Document doc = parse({page});
  EXPECT_EQ(read_out(*doc.pages[0]),
            (std::vector<std::string>{"heading-1:Results Of The Layout Study", "paragraph:" + a,
                                      "paragraph:" + b, "figure:figure",
                                      "caption:Figure 1: Both columns at once.", "paragraph:" + c,
                                      "paragraph:" + d}));
  EXPECT_EQ(std::ranges::count(build_graph(doc).edges, Relation::CaptionOf, &Edge::relation), 1);
  EXPECT_EQ(doc.extra.at("title"), "Results Of The Layout Study");  // the largest type, alone
}

TEST(enhanced_layout, captions_sit_beside_their_figures_above_or_below) {
  FakePage page;
  add_text(page.chars, U"Opening paragraph of the page.", 60, 760);
  add_text(page.chars, U"Table 2: Sizes, set above.", 60, 700, 8);
  page.images.push_back(image_at(60, 600, 300, 690));
  add_text(page.chars, U"Text between the two figures.", 60, 560);
  page.images.push_back(image_at(60, 420, 95, 520));  // two sub-figures share the caption below
  page.images.push_back(image_at(100, 420, 300, 520));
  add_text(page.chars, U"Fig. 3. Set below.", 60, 405, 8);
  add_text(page.chars, U"Closing paragraph.", 60, 300);

  EXPECT_EQ(read_out(*parse({page}).pages[0]),
            (std::vector<std::string>{
                "paragraph:Opening paragraph of the page.", "caption:Table 2: Sizes, set above.",
                "figure:figure", "paragraph:Text between the two figures.", "figure:figure",
                "figure:figure", "caption:Fig. 3. Set below.", "paragraph:Closing paragraph."}));
}

TEST(enhanced_layout, running_furniture_becomes_typed_nodes_left_out_of_markdown) {
  const std::vector<std::u32string> numbers = {U"1", U"- 2 -", U"iii"};
  std::vector<FakePage> pages;
  for (std::size_t p = 0; p < numbers.size(); ++p) {
    FakePage page;
    add_text(page.chars, U"Journal of Layout, Vol. 7", 60, 800, 8);
    add_text(page.chars, U"Body text of page " + std::u32string(1, U'1' + p) + U".", 60, 600);
    add_text(page.chars, U"Preprint " + std::u32string(1, U'1' + p), 60, 50, 8);
    add_text(page.chars, numbers[p], 290, 30, 9);
    pages.push_back(std::move(page));
  }
  const Document doc = parse(pages);
  for (std::size_t p = 0; p < numbers.size(); ++p) {
    std::vector<std::string> kinds;
    for (const std::string& entry : read_out(*doc.pages[p])) kinds.push_back(entry.substr(0, 6));
    EXPECT_EQ(kinds, (std::vector<std::string>{"header", "paragr", "footer", "page-n"})) << p;
  }
  EXPECT_EQ(render_markdown(doc),
            "Body text of page 1.\n\nBody text of page 2.\n\nBody text of page 3.\n");
}

// Ligatures, letter-spaced runs and lone bullets are mended before blocks form, and heading levels
// hold across pages.
TEST(enhanced_layout, mends_lines_before_blocks_and_levels_headings_per_document) {
  std::vector<FakePage> pages(2);
  add_text(pages[0].chars, U"S U M M A R Y", 60, 740, 20);
  add_text(pages[0].chars, U"1 Input System", 60, 700, 14);
  add_text(pages[0].chars, U"An e\uFB03cient text.", 60, 670);
  add_text(pages[0].chars, U"\u2022", 60, 632, 6);  // a smaller glyph on its own baseline
  add_text(pages[0].chars, U"open the file", 72, 630);
  add_column(pages[0].chars, 'P', 60, 600, 5);
  add_text(pages[1].chars, U"2 Section Two", 60, 700, 14);
  add_column(pages[1].chars, 'Q', 60, 680, 5);
  const Document doc = parse(pages);
  const std::vector<std::string> first = read_out(*doc.pages[0]);
  EXPECT_EQ(
      std::vector<std::string>(first.begin(), first.begin() + 4),
      (std::vector<std::string>{"heading-1:SUMMARY", "heading-2:1 Input System",
                                "paragraph:An efficient text.", "list:open the file"}));
  EXPECT_EQ(read_out(*doc.pages[1])[0], "heading-2:2 Section Two");
}

// A run of numbered entries citing years is a bibliography without its heading, across a page
// break that splits an entry; numbered notes citing none are not.
TEST(enhanced_layout, numbered_entries_citing_years_are_references) {
  std::vector<FakePage> pages(2);
  add_column(pages[0].chars, 'P', 60, 700, 3);
  add_text(pages[0].chars, U"[1] A. One, First title, 2001.", 60, 640);
  add_text(pages[0].chars, U"[2] B. Two, Second title that", 60, 628);
  add_text(pages[1].chars, U"runs on, 2003.", 72, 700);
  add_text(pages[1].chars, U"[3] C. Three, Third title, 2005.", 60, 688);
  add_column(pages[1].chars, 'Q', 60, 650, 2);
  add_text(pages[1].chars, U"[1] A note.", 60, 600);
  add_text(pages[1].chars, U"[2] Another note.", 60, 588);
  const std::string markdown = render_markdown(parse(pages));
  EXPECT_TRUE(markdown.ends_with(
      "[1] A note. [2] Another note.\n\n## References\n\n1. [1] A. One, First title, 2001.\n"
      "2. [2] B. Two, Second title that\n3. runs on, 2003.\n4. [3] C. Three, Third title, 2005.\n"))
      << markdown;
}

TEST(enhanced_layout, nested_list_items_keep_their_depths) {
  FakePage page;
  add_text(page.chars, U"1. Moorings", 60, 700);
  add_text(page.chars, U"a) North quay", 78, 688);
  add_text(page.chars, U"2. Dredging", 60, 676);
  const Document doc = parse({page});
  EXPECT_EQ(render_markdown(doc), "- 1. Moorings\n  - a) North quay\n- 2. Dredging\n");
  EXPECT_NE(render_graph_json(doc)->find("\"itemDepths\":[0,1,0]}"), std::string::npos);
}

TEST(enhanced_layout, hostile_boxes_and_sizes_still_order_every_node) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  FakePage page;
  add_column(page.chars, 'A', 60, 700, 6);
  add_column(page.chars, 'B', 320, 700, 6);
  page.chars.push_back(PdfChar{U'x', nan, nan, nan, nan, nan});
  page.chars.push_back(PdfChar{U'y', -inf, 0, inf, 10, inf});
  page.chars.push_back(PdfChar{U'z', 300, 500, 200, 400, -3});  // inverted
  page.chars.push_back(PdfChar{0x2022, nan, 650, nan, 656, 6});
  page.images.push_back(image_at(nan, 0, 100, inf));
  page.images.push_back(image_at(400, 300, 100, 200));
  page.width = nan;
  for (const PagePtr& p : parse({page, page, page, FakePage{}}).pages) {
    EXPECT_EQ(p->reading_order.size(), p->nodes.size());
    for (const NodePtr& node : p->nodes) {
      EXPECT_EQ(std::ranges::count(p->reading_order, node->id), 1);
    }
  }
}

}  // namespace
}  // namespace vorlin_core
