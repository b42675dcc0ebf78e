// The enhanced layout end to end on synthetic pages: characters in through a fake backend, the
// document's nodes, reading order, Markdown and graph edges out.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>

#include "support/fake_backend.h"
#include "vorlin_core/pipeline/parse_document.h"
#include "vorlin_core/render/graph.h"
#include "vorlin_core/render/markdown.h"

namespace vorlin_core {
namespace {

using testing_support::FakeBackend;
using testing_support::FakePage;
using testing_support::text_run;
namespace fs = std::filesystem;
using Tag = NodeKind::Tag;

struct TempDir {
  std::string path = [] {
    char pattern[] = "/tmp/vorlin-enhanced-XXXXXX";
    return std::string(::mkdtemp(pattern));
  }();
  ~TempDir() { fs::remove_all(path); }
};

void add(std::vector<PdfChar>& chars, std::u32string_view text, float x, float y, float size = 10) {
  const std::vector<PdfChar> run = text_run(text, x, y, size);
  chars.insert(chars.end(), run.begin(), run.end());
}

// Column rows at 12-point pitch: `rows` lines of "<prefix> line <k> of body text" from `top`;
// returns the paragraph they make.
std::string add_column(std::vector<PdfChar>& chars, char prefix, float x, float top, int rows) {
  std::string paragraph;
  for (int k = 0; k < rows; ++k) {
    const std::string line = std::string(1, prefix) + " line " + char('a' + k) + " of body text";
    add(chars, std::u32string(line.begin(), line.end()), x, top - 12.0f * static_cast<float>(k));
    paragraph += (k ? " " : "") + line;
  }
  return paragraph;
}

PdfImage image_at(float x0, float y0, float x1, float y1) {
  return PdfImage{std::vector<std::uint8_t>{0x89, 'P', 'N', 'G'}, x0, y0, x1, y1, 1, 1};
}

Document parse(std::vector<FakePage> pages, const ParseOptions& options = {}) {
  TempDir dir;
  const std::string path = dir.path + "/doc.pdf";
  std::ofstream(path) << "%PDF";
  auto document = parse_document(path, options, FakeBackend(std::move(pages)),
                                 {.layout = Layout::Enhanced});
  if (!document) throw std::runtime_error(document.error().message);
  return std::move(*document);
}

// "type:content" of a page's nodes in reading order.
std::vector<std::string> read_out(const Page& page) {
  std::vector<std::string> out;
  for (const NodeId& id : page.reading_order) {
    for (const NodePtr& node : page.nodes) {
      if (node->id == id) out.push_back(type_string(node->kind) + ":" + node->content);
    }
  }
  return out;
}

TEST(enhanced_layout, columns_on_shared_baselines_read_column_by_column) {
  for (const std::vector<float>& xs : {std::vector<float>{60, 320}, {40, 220, 400}}) {
    FakePage page;
    std::vector<std::string> expected;
    for (std::size_t col = 0; col < xs.size(); ++col) {
      expected.push_back("paragraph:" + add_column(page.chars, char('A' + col), xs[col], 700, 8));
    }
    EXPECT_EQ(read_out(*parse({page}).pages[0]), expected) << xs.size() << " columns";
  }
}

TEST(enhanced_layout, full_width_title_and_figure_stay_whole_between_columns) {
  FakePage page;
  add(page.chars, U"Results Of The Layout Study", 60, 760, 20);
  const std::string a = add_column(page.chars, 'A', 60, 700, 6);
  const std::string b = add_column(page.chars, 'B', 320, 700, 6);
  page.images.push_back(image_at(60, 500, 540, 610));
  add(page.chars, U"Figure 1: Both columns at once.", 60, 485, 8);
  const std::string c = add_column(page.chars, 'C', 60, 450, 6);
  const std::string d = add_column(page.chars, 'D', 320, 450, 6);

  const Document doc = parse({page});
  EXPECT_EQ(read_out(*doc.pages[0]),
            (std::vector<std::string>{"heading-1:Results Of The Layout Study", "paragraph:" + a,
                                      "paragraph:" + b, "figure:figure",
                                      "caption:Figure 1: Both columns at once.", "paragraph:" + c,
                                      "paragraph:" + d}));
  EXPECT_EQ(std::ranges::count(build_graph(doc).edges, Relation::CaptionOf, &Edge::relation), 1);
}

TEST(enhanced_layout, captions_sit_beside_their_figures_above_or_below) {
  FakePage page;
  add(page.chars, U"Opening paragraph of the page.", 60, 760);
  add(page.chars, U"Table 2: Sizes, set above.", 60, 700, 8);
  page.images.push_back(image_at(60, 600, 300, 690));
  add(page.chars, U"Text between the two figures.", 60, 560);
  page.images.push_back(image_at(60, 420, 300, 520));
  add(page.chars, U"Fig. 3. Set below.", 60, 405, 8);
  add(page.chars, U"Closing paragraph.", 60, 300);

  const Document doc = parse({page});
  EXPECT_EQ(read_out(*doc.pages[0]),
            (std::vector<std::string>{
                "paragraph:Opening paragraph of the page.", "caption:Table 2: Sizes, set above.",
                "figure:figure", "paragraph:Text between the two figures.", "figure:figure",
                "caption:Fig. 3. Set below.", "paragraph:Closing paragraph."}));
}

TEST(enhanced_layout, running_furniture_becomes_typed_nodes_left_out_of_markdown) {
  const std::vector<std::u32string> numbers = {U"1", U"- 2 -", U"Page 3 of 5", U"iv", U"5"};
  std::vector<FakePage> pages;
  for (std::size_t p = 0; p < numbers.size(); ++p) {
    FakePage page;
    add(page.chars, U"Journal of Layout, Vol. 7", 60, 800, 8);
    add(page.chars, U"Body text of page " + std::u32string(1, U'1' + p) + U".", 60, 600);
    add(page.chars, U"Preprint " + std::u32string(1, U'1' + p), 60, 50, 8);
    add(page.chars, numbers[p], 290, 30, 9);
    pages.push_back(std::move(page));
  }
  const Document doc = parse(pages);
  for (std::size_t p = 0; p < numbers.size(); ++p) {
    std::vector<std::string> kinds;
    for (const std::string& entry : read_out(*doc.pages[p])) kinds.push_back(entry.substr(0, 6));
    EXPECT_EQ(kinds, (std::vector<std::string>{"header", "paragr", "footer", "page-n"})) << p;
  }
  EXPECT_EQ(render_markdown(doc),
            "Body text of page 1.\n\nBody text of page 2.\n\nBody text of page 3.\n\n"
            "Body text of page 4.\n\nBody text of page 5.\n");
}

TEST(enhanced_layout, lists_join_bullets_set_on_their_own_baseline) {
  FakePage page;
  add(page.chars, U"Steps to follow:", 60, 700);
  add(page.chars, U"\u2022", 60, 688, 6);  // smaller glyph, its own baseline
  add(page.chars, U"open the file", 72, 686);
  add(page.chars, U"\u2022", 60, 676, 6);
  add(page.chars, U"read the pages and", 72, 674);
  add(page.chars, U"write the result", 72, 662);
  add(page.chars, U"1. first", 60, 630);
  add(page.chars, U"2. second", 60, 618);

  const Document doc = parse({page});
  EXPECT_EQ(read_out(*doc.pages[0]),
            (std::vector<std::string>{"paragraph:Steps to follow:",
                                      "list:open the file\nread the pages and write the result",
                                      "list:1. first\n2. second"}));
  EXPECT_EQ(render_markdown(doc),
            "Steps to follow:\n\n- open the file\n- read the pages and write the result\n\n"
            "- 1. first\n- 2. second\n");
}

TEST(enhanced_layout, mends_hyphenation_ligatures_and_letter_spacing) {
  FakePage page;
  add(page.chars, U"S U M M A R Y", 60, 700, 16);
  add(page.chars, U"1 Input System", 60, 660, 14);
  add(page.chars, U"An e\uFB03cient hyphen-", 60, 630);
  add(page.chars, U"ated text, a Franco-", 60, 618);
  add(page.chars, U"German border.", 60, 606);
  add(page.chars, U"Filler body text so that", 60, 580);
  add(page.chars, U"body type is the common", 60, 568);
  add(page.chars, U"size on this page.", 60, 556);

  const Document doc = parse({page});
  EXPECT_EQ(read_out(*doc.pages[0]),
            (std::vector<std::string>{
                "heading-1:SUMMARY", "heading-2:1 Input System",
                "paragraph:An efficient hyphenated text, a Franco-German border.",
                "paragraph:Filler body text so that body type is the common size on this page."}));
}

TEST(enhanced_layout, heading_levels_hold_across_pages) {
  std::vector<FakePage> pages(2);
  add(pages[0].chars, U"Document Title", 60, 740, 20);
  add(pages[0].chars, U"1 Section One", 60, 700, 14);
  add_column(pages[0].chars, 'P', 60, 680, 5);
  add(pages[1].chars, U"2 Section Two", 60, 700, 14);
  add_column(pages[1].chars, 'Q', 60, 680, 5);
  const Document doc = parse(pages);
  EXPECT_EQ(read_out(*doc.pages[1])[0], "heading-2:2 Section Two");
}

TEST(enhanced_layout, writes_figure_files_under_the_figure_ids) {
  TempDir media;
  FakePage page;
  page.images.push_back(image_at(60, 500, 300, 600));
  ParseOptions options;
  options.media_dir = media.path;
  const Document doc = parse({page}, options);
  ASSERT_EQ(doc.pages[0]->nodes.size(), 1u);
  const NodePtr& figure = doc.pages[0]->nodes[0];
  EXPECT_EQ(figure->kind, NodeKind::of(Tag::Figure));
  EXPECT_TRUE(fs::exists(media.path + "/" + figure->id.to_string() + ".png"));
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
  const Document doc = parse({page, page, page});
  for (const PagePtr& p : doc.pages) {
    EXPECT_EQ(p->reading_order.size(), p->nodes.size());
    for (const NodePtr& node : p->nodes) {
      EXPECT_EQ(std::ranges::count(p->reading_order, node->id), 1);
    }
  }
}

TEST(enhanced_layout, empty_pages_give_empty_contents) {
  const Document doc = parse({FakePage{}, FakePage{}});
  ASSERT_EQ(doc.pages.size(), 2u);
  EXPECT_TRUE(doc.pages[0]->nodes.empty() && doc.pages[1]->reading_order.empty());
}

}  // namespace
}  // namespace vorlin_core
