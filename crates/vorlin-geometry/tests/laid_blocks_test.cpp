#include "vorlin_geometry/laid_blocks.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vorlin_geometry {
namespace {

// A 10-point line (box 12 tall) whose top is `top`, starting at `x`.
LaidLine line(std::u32string text, float top, float x = 50, ColumnSlot slot = {},
              LineRole role = LineRole::body(), float size = 10) {
  return LaidLine{std::move(text), BBox{x, top - 12, x + 200, top}, size, slot, role};
}

std::vector<std::string> described(const std::vector<LaidBlock>& blocks) {
  std::vector<std::string> out;
  for (const LaidBlock& b : blocks) {
    out.push_back("PHLCE"[static_cast<int>(b.kind)] + std::string(b.caption_like ? "c" : "") + ":" +
                  b.text);
  }
  return out;
}

// Blank texts make no block, alone or on an empty page.
TEST(build_laid_blocks, paragraphs_form_within_their_column_only) {
  const std::vector<LaidLine> lines = {
      line(U"left one", 700, 50, {1, 0}), line(U"right one", 700, 300, {1, 1}),
      line(U"left two", 688, 50, {1, 0}), line(U"right two", 688, 300, {1, 1}),
      line(U"   ", 400, 50, {2, 0}),  // far from the rest
  };
  EXPECT_EQ(described(build_laid_blocks(lines)),
            (std::vector<std::string>{"P:left one left two", "P:right one right two"}));
  EXPECT_TRUE(build_laid_blocks({}).empty());
}

TEST(build_laid_blocks, wrapped_headings_join_and_hyphenation_is_mended) {
  const LineRole h1 = LineRole::heading(1);
  const std::vector<LaidLine> lines = {
      line(U"2 Width Reading", 700, 50, {}, h1),
      line(U"Column", 688, 50, {}, h1),
      line(U"A hyphen-", 670, 50),
      line(U"ated word and COVID-", 658, 50),
      line(U"19.", 646, 50),
      line(U"Next Heading", 620, 50, {}, LineRole::heading(2)),
      line(U"Same Level Far Below", 560, 50, {}, LineRole::heading(2)),
      line(U"Just Apart", 539, 50, {}, LineRole::heading(2)),  // 9 > 0.7 x 12 below
  };
  EXPECT_EQ(
      described(build_laid_blocks(lines)),
      (std::vector<std::string>{"H:2 Width Reading Column", "P:A hyphenated word and COVID-19.",
                                "H:Next Heading", "H:Same Level Far Below", "H:Just Apart"}));
}

TEST(build_laid_blocks, short_headings_stacked_apart_stay_apart) {
  const auto at = [](std::u32string text, float top, float x1) {
    return LaidLine{std::move(text), BBox{50, top - 12, x1, top}, 10, {}, LineRole::heading(2)};
  };
  const std::vector<LaidLine> lines = {
      at(U"Examples", 700, 110), at(U"Simple hashing", 682, 140),  // 6 apart, room to spare
      at(U"A heading long enough to wrap in", 640, 440), at(U"its column", 622, 110),
      at(U"Set by hand:", 600, 120), at(U"over two lines", 588, 140),  // close together
      at(U"Close", 560, 90), at(U"1 Numbered", 548, 140),
      line(U"Body text out to the column's right edge.", 520, 250),
  };
  EXPECT_EQ(described(build_laid_blocks(lines)),
            (std::vector<std::string>{"H:Examples", "H:Simple hashing",
                                      "H:A heading long enough to wrap in its column",
                                      "H:Set by hand: over two lines", "H:Close", "H:1 Numbered",
                                      "P:Body text out to the column's right edge."}));
}

TEST(build_laid_blocks, bullet_and_numbered_lists_and_lone_markers) {
  const std::vector<LaidLine> lines = {
      line(U"We list:", 700),
      line(U"\u2022 first item that wraps", 684),
      line(U"onto a second line", 672, 60),
      line(U"\u2022 second item", 645),  // 15 apart: items may be up to 2 x 8.4 apart
      line(U"Back to prose at the margin.", 625),
      line(U"1. one", 610),
      line(U"2. two", 598),
      line(U"(1) alone is prose", 540),
      line(U"\u25aa a lone unambiguous bullet", 500),
      line(U"- a lone dash", 450),
  };
  EXPECT_EQ(described(build_laid_blocks(lines)),
            (std::vector<std::string>{
                "P:We list:", "L:first item that wraps onto a second line\nsecond item",
                "P:Back to prose at the margin.", "L:1. one\n2. two", "P:(1) alone is prose",
                "L:a lone unambiguous bullet", "P:- a lone dash"}));
}

TEST(build_laid_blocks, items_nest_by_indent_and_by_multi_level_numbers) {
  const std::vector<LaidLine> lines = {
      line(U"1. top", 700),        line(U"a) set in", 688, 70), line(U"(ii) deeper", 676, 90),
      line(U"b) back", 664, 71),   line(U"2. top", 652),        line(U"2.1. numbered", 640),
      line(U"(i) too far", 628, 130),
  };
  const std::vector<LaidBlock> blocks = build_laid_blocks(lines);
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].depths, (std::vector<std::uint8_t>{0, 1, 2, 1, 0, 1, 2}));
}

TEST(build_laid_blocks, a_caption_ends_where_the_type_size_changes) {
  const std::vector<LaidLine> lines = {
      line(U"Figure 1: A plot of", 700, 50, {}, LineRole::body(), 8),
      line(U"the results.", 690, 50, {}, LineRole::body(), 8),
      line(U"Body text resumes here.", 678, 50, {}, LineRole::body(), 10),
      line(U"In Figure 1 we see", 640, 50),
      line(U"Figure 2 shows more.", 628, 50),
  };
  EXPECT_EQ(
      described(build_laid_blocks(lines)),
      (std::vector<std::string>{"Pc:Figure 1: A plot of the results.", "P:Body text resumes here.",
                                "P:In Figure 1 we see Figure 2 shows more."}));
}

// Fixed-pitch lines with a 5-point pitch, their text already spaced by columns.
LaidLine code(std::u32string text, float top, float x, ColumnSlot slot = {}) {
  LaidLine l = line(U"", top, x, slot);
  l.pitch = 5;
  l.columns = std::move(text);
  return l;
}

TEST(build_laid_blocks, listings_are_code_blocks_and_keep_indentation_across_columns) {
  const std::vector<LaidLine> lines = {
      line(U"Prose:", 700, 50, {1, 0}),
      code(U"1. if x:", 688, 60, {1, 0}),  // no list item inside a listing
      code(U"y()", 676, 70, {1, 0}),
      code(U"z()", 700, 320, {1, 1}),  // goes on atop the next column, as indented as y()
      line(U"More prose.", 688, 300, {1, 1}),
  };
  ListingCarry carry;
  EXPECT_EQ(
      described(build_laid_blocks(lines, &carry)),
      (std::vector<std::string>{"P:Prose:", "C:1. if x:\n  y()", "C:  z()", "P:More prose."}));
  EXPECT_TRUE(std::isnan(carry.indent));  // the last column ends in prose
}

TEST(build_laid_blocks, equations_take_their_formula_rows_and_no_prose) {
  std::vector<LaidLine> lines = {
      line(U"We have", 700, 80),        // indented, but reaching the right edge
      line(U"see Eqs. (6).", 690, 100),  // set in from both edges, but prose
      line(U"2", 678, 150),             // a superscript row, less tall
      line(U"E = mc (1)", 670, 100),
      line(U"and so on, to the column's edge.", 658),
      line(U"x + y = z", 630, 100),  // no number, but in math faces
      line(U"\u00b7 \u00b7 \u00b7", 600, 100),
  };
  for (std::size_t i : {1, 2, 3, 5, 6}) lines[i].bbox.x1 = 200;
  lines[2].bbox.y0 = 672;
  lines[3].equation_number = true;
  lines[5].math = lines[6].math = true;
  EXPECT_EQ(described(build_laid_blocks(lines)),
            (std::vector<std::string>{"P:We have see Eqs. (6).", "E:2 E = mc (1)",
                                      "P:and so on, to the column's edge.", "E:x + y = z",
                                      "P:\u00b7 \u00b7 \u00b7"}));
}

}  // namespace
}  // namespace vorlin_geometry
