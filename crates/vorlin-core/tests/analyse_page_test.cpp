#include "vorlin_core/pipeline/analyse_page.h"

#include <gtest/gtest.h>

#include "support/fake_backend.h"
#include "support/read_out.h"

namespace vorlin_core {
namespace {

using testing_support::add_text;
using testing_support::read_out;

const BBox kPage{0, 0, 595, 842};

// A report page: numeric label at the top, title, section heading, a letter-spaced heading, two
// columns on shared baselines and a page number at the foot.
TEST(analyse_page, report_page_headings_paragraphs_and_noise) {
  std::vector<PdfChar> chars;
  add_text(chars, U"2024", 500, 800, 14);
  add_text(chars, U"Annual Report", 72, 740, 24);
  add_text(chars, U"Introduction", 72, 690, 16);
  for (int row = 0; row < 3; ++row) {
    const float y = 660.0f - 14.0f * static_cast<float>(row);
    add_text(chars, U"left column text", 72, y);
    add_text(chars, U"right column text", 320, y);
  }
  add_text(chars, U"S U M M A R Y", 72, 560, 16);
  add_text(chars, U"closing words here", 72, 530);
  add_text(chars, U"7", 297, 30);
  const PageContent content = analyse_page(chars, {}, kPage);
  EXPECT_EQ(read_out(content.nodes, content.reading_order),
            (std::vector<std::string>{
                "heading-1:Annual Report",
                "heading-2:Introduction",
                "paragraph:left column text right column text left column text right column text "
                "left column text right column text",
                "heading-2:SUMMARY",
                "paragraph:closing words here",
            }));
  // The paragraph's box is the union of its three lines across both columns.
  EXPECT_EQ(content.nodes[2]->bbox, (BBox{72, 632, 320 + 17 * 5.0f, 670}));
}

TEST(analyse_page, figures_follow_the_blocks_and_read_by_cuts) {
  std::vector<PdfChar> chars;
  add_text(chars, U"upper block", 72, 700);
  add_text(chars, U"lower block", 72, 300);
  const std::vector<BBox> figures = {{350, 600, 550, 750}, {350, 100, 550, 200}};
  const PageContent content = analyse_page(chars, figures, kPage);
  ASSERT_EQ(content.nodes.size(), 4u);
  EXPECT_EQ(content.nodes[2]->bbox, figures[0]);
  EXPECT_EQ(content.nodes[3]->bbox, figures[1]);
  // Cut under the upper band first, then each band left to right.
  EXPECT_EQ(read_out(content.nodes, content.reading_order),
            (std::vector<std::string>{"paragraph:upper block", "figure:figure",
                                      "paragraph:lower block", "figure:figure"}));
  // A horizontal gap of 3.5, over 0.3 median heights, is cut: the figure above it reads first.
  std::vector<PdfChar> left;
  add_text(left, U"left", 72, 100);
  const std::vector<BBox> beside = {{200, 113.5f, 300, 123.5f}, {400, 100, 450, 110}};
  const PageContent cut = analyse_page(left, beside, kPage);
  EXPECT_EQ(read_out(cut.nodes, cut.reading_order),
            (std::vector<std::string>{"figure:figure", "paragraph:left", "figure:figure"}));
  // A blank line makes no node.
  std::vector<PdfChar> blank;
  add_text(blank, U"   ", 72, 400);
  EXPECT_TRUE(analyse_page(blank, {}, kPage).nodes.empty());
}

}  // namespace
}  // namespace vorlin_core
