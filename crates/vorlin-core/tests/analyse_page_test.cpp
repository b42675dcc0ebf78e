#include "vorlin_core/pipeline/analyse_page.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/fake_backend.h"
#include "support/read_out.h"

namespace vorlin_core {
namespace {

using testing_support::add_text;
using testing_support::read_out;

const BBox kPage{0, 0, 595, 842};

std::vector<std::string> analysed(const std::vector<PdfChar>& chars,
                                  const std::vector<BBox>& figures = {}) {
  const PageContent content = analyse_page(chars, figures, kPage);
  return read_out(content.nodes, content.reading_order);
}

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

// Invalid sizes count in a line's mean size: a large line with one negative or NaN size is no
// heading.
TEST(analyse_page, line_size_averages_invalid_member_sizes) {
  std::vector<PdfChar> chars;
  for (int row = 0; row < 4; ++row) add_text(chars, U"body text line", 72, 700.0f - 12 * row);
  add_text(chars, U"Big Title", 72, 500, 24);
  chars.back().font_size = -100;
  add_text(chars, U"Odd Title", 72, 400, 24);
  chars.back().font_size = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(analysed(chars),
            (std::vector<std::string>{
                "paragraph:body text line body text line body text line body text line",
                "paragraph:Big Title", "paragraph:Odd Title"}));
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
  EXPECT_TRUE(analysed(testing_support::text_run(U"   ", 72, 400, 10)).empty());
}

}  // namespace
}  // namespace vorlin_core
