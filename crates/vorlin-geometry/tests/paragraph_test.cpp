#include "vorlin_geometry/paragraph.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

using testing::kNaN;

// A line spanning x 0..100 with the given top and bottom edges.
TextLine line_between(float y0, float y1) { return TextLine{{0}, BBox{0, y0, 100, y1}, y0}; }

std::vector<std::size_t> block_sizes(const std::vector<Block>& blocks) {
  std::vector<std::size_t> sizes;
  for (const Block& b : blocks) sizes.push_back(b.lines.size());
  return sizes;
}

TEST(build_blocks, joins_body_lines_by_gap_tolerance) {
  struct Case {
    const char* name;
    std::vector<TextLine> lines;
    std::vector<std::size_t> blocks;
  };
  const std::vector<Case> cases = {
      {"no lines", {}, {}},
      // Zero-height lines: tolerance 7.0.
      {"gap equal to the default tolerance joins",
       {line_between(100, 100), line_between(93, 93)}, {2}},
      {"gap above the default tolerance splits",
       {line_between(100, 100), line_between(92.5f, 92.5f)}, {1, 1}},
      // Height 10: tolerance 7.
      {"overlapping lines join", {line_between(100, 110), line_between(95, 105)}, {2}},
      {"gap is measured from the last line added",
       {line_between(100, 110), line_between(84, 94), line_between(68, 78),
        line_between(50, 60)},
       {3, 1}},
      // Heights 30, 8, 7: tolerance 5.6; the paragraph's box reaches down to 80.
      {"gap is measured from the last line, not the paragraph's box",
       {line_between(80, 110), line_between(100, 108), line_between(85, 92)}, {2, 1}},
      {"NaN gaps start new paragraphs",
       {line_between(100, 110), line_between(kNaN, kNaN), line_between(90, 99)}, {1, 1, 1}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(block_sizes(build_blocks(c.lines, {})), c.blocks) << c.name;
  }
}

TEST(build_blocks, heading_lines_stand_alone) {
  const LineRole body = LineRole::body();
  const LineRole h2 = LineRole::heading(2);
  const std::vector<TextLine> lines = {line_between(100, 110), line_between(88, 98),
                                       line_between(76, 86), line_between(64, 74),
                                       line_between(52, 62)};
  struct Case {
    const char* name;
    std::vector<LineRole> roles;
    std::vector<std::size_t> blocks;
    std::vector<bool> headings;
  };
  const std::vector<Case> cases = {
      {"heading between body lines", {body, h2, body, body, body}, {1, 1, 3}, {false, true, false}},
      {"consecutive headings", {h2, h2, body, body, body}, {1, 1, 3}, {true, true, false}},
      {"lines beyond the roles are body", {body, body, h2}, {2, 1, 2}, {false, true, false}},
  };
  for (const Case& c : cases) {
    const std::vector<Block> blocks = build_blocks(lines, c.roles);
    EXPECT_EQ(block_sizes(blocks), c.blocks) << c.name;
    std::vector<bool> headings;
    for (const Block& b : blocks) headings.push_back(b.is_heading);
    EXPECT_EQ(headings, c.headings) << c.name;
  }
}

TEST(build_blocks, boxes_and_levels) {
  const std::vector<TextLine> lines = {line_between(100, 120), TextLine{{1}, {5, 90, 50, 98}, 90},
                                       TextLine{{2}, {-5, 80, 60, 88}, 80}};
  const std::vector<Block> blocks =
      build_blocks(lines, std::vector<LineRole>{LineRole::heading(3)});
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].bbox, lines[0].bbox);
  EXPECT_EQ(blocks[0].heading_level, 3);
  EXPECT_EQ(blocks[1].bbox, (BBox{-5, 80, 60, 98}));
  EXPECT_EQ(blocks[1].lines[1].char_indices, lines[2].char_indices);
}

TEST(repair_letter_spacing, rejoins_letter_spaced_text) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"T I T L E  O N E", "TITLE ONE"},
      {"A cat sat on the mat", "A cat sat on the mat"},
      {"I have a cat", "Ihaveacat"},
      {"  a  b ", "a b"},
      {"a\tb c", "a\tbc"},  // only U+0020 breaks words
      {" \t\u00A0 ", " \t\u00A0 "},
      {"", ""},
  };
  for (const auto& [text, repaired] : cases) EXPECT_EQ(repair_letter_spacing(text), repaired);
}

TEST(collapse_whitespace, trims_and_collapses_unicode_whitespace) {
  EXPECT_EQ(collapse_whitespace("\tfirst \n\u00A0second "), "first second");
  EXPECT_EQ(collapse_whitespace(" \u3000 "), "");
  EXPECT_EQ(collapse_whitespace("a\u200Bb"), "a\u200Bb");  // ZWSP is not White_Space
}

TEST(block_text, joins_repairs_and_collapses) {
  struct Case {
    std::vector<std::u32string> lines;
    std::string text;
  };
  const std::vector<Case> cases = {
      {{U"T I T L E  O N E"}, "TITLE ONE"},
      {{U"   ", U"first  line", U"\t", U"second"}, "first line second"},
      {{U" ", U"\u3000"}, ""},
  };
  for (const Case& c : cases) {
    std::vector<PageChar> chars;
    Block block;
    float y = 100;
    for (const std::u32string& text : c.lines) {
      block.lines.push_back(testing::set_line(chars, text, y));
      y -= 12;
    }
    EXPECT_EQ(block_text(block, chars), c.text);
  }
}

}  // namespace
}  // namespace vorlin_geometry
