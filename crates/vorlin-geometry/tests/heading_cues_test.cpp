#include "vorlin_geometry/heading_cues.h"

#include <gtest/gtest.h>

namespace vorlin_geometry {
namespace {

TEST(heading_cues, contents_entries_and_section_numbers) {
  EXPECT_TRUE(is_contents_entry(U"1.2 Options . . . . . . . 3"));
  EXPECT_TRUE(is_contents_entry(U"Preface.........xi"));
  EXPECT_TRUE(is_contents_entry(U"4 Opciones 4"));
  EXPECT_TRUE(is_contents_entry(U"IV Data types 102"));
  EXPECT_FALSE(is_contents_entry(U"Chapter 1"));
  EXPECT_FALSE(is_contents_entry(U"4 Opciones"));
  EXPECT_FALSE(is_contents_entry(U"2 Example 9 more"));
  EXPECT_EQ(section_depth(U"4.2.1 O tamanho do papel"), 3u);
  EXPECT_EQ(section_depth(U"A.2 Extra"), 2u);
  EXPECT_EQ(section_depth(U"7. Obsolete"), 1u);
  EXPECT_EQ(section_depth(U"2020-11-06 v1.29"), 0u);
  EXPECT_EQ(section_depth(U"3.14"), 0u);
}

CueLine line(std::u32string_view text, float x0, float x1, float size, LineRole role = {},
             bool emphasised = false, bool opens_block = true) {
  return CueLine{text,        0,   BBox{x0, 0.5f, x1, 0.52f}, size, emphasised, false, false,
                 opens_block, role};
}

std::vector<std::uint8_t> revised_levels(std::span<const CueLine> lines) {
  std::vector<std::uint8_t> levels;
  for (const LineRole& role : revise_headings(lines)) levels.push_back(role.level);
  return levels;
}

TEST(heading_cues, revise_the_size_rule) {
  std::vector<CueLine> lines = {
      line(U"The Title", 0.3f, 0.7f, 20, LineRole::heading(1)),
      line(U"Ann Author", 0.4f, 0.6f, 12, LineRole::heading(2)),  // centred: the title block
      line(U"1 Introduction", 0.1f, 0.4f, 14, LineRole::heading(2)),
      line(U"Body text of the section that runs on.", 0.1f, 0.9f, 10),
      line(U"1.1 Bold at body size", 0.1f, 0.4f, 10, {}, true, false),    // numbered
      line(U"Background", 0.1f, 0.3f, 10, {}, true, true),                // opens a block
      line(U"Bold in the next column", 0.6f, 0.9f, 10, {}, true, false),  // on its row
      line(U"Text under it.", 0.1f, 0.9f, 10),
      line(U"See also:", 0.1f, 0.3f, 10, {}, true, true),
      line(U"A bold link", 0.1f, 0.3f, 10, {}, true, true),  // followed by another
      line(U"Another bold link", 0.1f, 0.3f, 10, {}, true, true),
      line(U"Inside a paragraph", 0.1f, 0.3f, 10, {}, true, false),
      line(U"A bold sentence.", 0.1f, 0.3f, 10, {}, true, true),
      line(U"2. A bold list item", 0.1f, 0.3f, 10, {}, true, false),
      line(U"2 Results . . . . . 7", 0.1f, 0.9f, 14, LineRole::heading(2)),
      line(U"A defined term", 0.1f, 0.3f, 10, {}, true, true),  // its description hangs below
      line(U"What the term means.", 0.15f, 0.9f, 10),
  };
  lines[15].indent_below = 1.8f;
  for (std::size_t i = 0; i < lines.size(); ++i) {  // one under the other, two on one row
    lines[i].box.y0 -= 0.03f * static_cast<float>(i - (i > 5));
    lines[i].box.y1 -= 0.03f * static_cast<float>(i - (i > 5));
  }
  lines[0].box = BBox{0.3f, 0.6f, 0.7f, 0.62f};  // the title above the rest
  EXPECT_EQ(revised_levels(lines),
            (std::vector<std::uint8_t>{1, 0, 2, 0, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// What a document lists as its headings leaves out labels over titles and run-in divisions.
TEST(heading_cues, labels_and_run_in_divisions_are_text) {
  const LineRole h1 = LineRole::heading(1), h2 = LineRole::heading(2), h3 = LineRole::heading(3);
  std::vector<CueLine> lines = {
      line(U"Chapter 4", 0.1f, 0.3f, 20, h1),  // over the title
      line(U"The title", 0.1f, 0.5f, 20, h1),
      line(U"1 Section", 0.1f, 0.4f, 14, h2),
      line(U"1.1 Sub", 0.1f, 0.4f, 12, h3),
      line(U"1.2 Sub that wraps", 0.1f, 0.4f, 12, h3),
      line(U"onto a second line", 0.1f, 0.4f, 12, h3),
      line(U"Run-in division", 0.1f, 0.4f, 12, h3),  // no larger than the numbered ones
      line(U"References", 0.1f, 0.4f, 14, h2),
      line(U"A sentence of prose at the body size, long enough.", 0.1f, 0.9f, 10),
  };
  lines[5].box = BBox{0.1f, 0.48f, 0.4f, 0.5f};  // right under the line before
  lines[6].box = BBox{0.1f, 0.3f, 0.4f, 0.32f};
  EXPECT_EQ(revised_levels(lines), (std::vector<std::uint8_t>{0, 1, 2, 3, 3, 3, 0, 2, 0}));
  // Numbered at one size only: nothing ranks below the numbered headings.
  const std::vector<CueLine> flat = {
      line(U"1 One", 0.1f, 0.4f, 14, h2), line(U"2 Two", 0.1f, 0.4f, 14, h2),
      line(U"3 Three", 0.1f, 0.4f, 14, h2), line(U"References", 0.1f, 0.4f, 14, h2)};
  EXPECT_EQ(revised_levels(flat), (std::vector<std::uint8_t>{2, 2, 2, 2}));
  // A page with only a label and a heading opens a part, above the chapters.
  std::vector<CueLine> parts = {line(U"Part I", 0.1f, 0.3f, 20, h1),
                                line(U"Basics", 0.1f, 0.3f, 20, h2), flat[0], flat[1]};
  parts[2].page = parts[3].page = 1;
  EXPECT_EQ(revised_levels(parts), (std::vector<std::uint8_t>{0, 1, 3, 3}));
}

TEST(heading_cues, the_title_block_reads_top_down_past_footnote_marks) {
  std::vector<CueLine> lines = {
      line(U"A sentence of prose at the body size, long enough.", 0.1f, 0.9f, 10),
      line(U"Ann Author", 0.4f, 0.6f, 12, LineRole::heading(2)),  // listed before the title
      line(U"*", 0.6f, 0.62f, 10),                                // her raised footnote mark
      line(U"The Title", 0.3f, 0.7f, 20, LineRole::heading(1)),
      line(U"24 March 2020, v1.2", 0.4f, 0.6f, 12, LineRole::heading(2)),  // a date
  };
  lines[0].box = BBox{0.1f, 0.3f, 0.95f, 0.32f};
  lines[2].box.y1 = 0.53f;
  lines[3].box = BBox{0.3f, 0.6f, 0.7f, 0.62f};
  lines[4].box = BBox{0.4f, 0.46f, 0.6f, 0.48f};
  EXPECT_EQ(revised_levels(lines), (std::vector<std::uint8_t>{0, 0, 0, 1, 0}));
}

// Pages before the first line of prose are covers: only each one's largest heading stays.
TEST(heading_cues, cover_pages_keep_only_their_title) {
  const LineRole h1 = LineRole::heading(1), h2 = LineRole::heading(2);
  std::vector<CueLine> lines = {
      line(U"Thesis Title", 0.3f, 0.7f, 20, h1),
      line(U"Author Name", 0.1f, 0.3f, 14, h2),
      line(U"University", 0.1f, 0.3f, 14, h2),
      line(U"1 Introduction", 0.1f, 0.4f, 14, h2),
      line(U"A sentence of prose at the body size, long enough.", 0.1f, 0.9f, 10),
      line(U"2 Background", 0.1f, 0.4f, 14, h2),
  };
  for (std::size_t i = 3; i < lines.size(); ++i) lines[i].page = 1 + i / 5;
  EXPECT_EQ(revised_levels(lines), (std::vector<std::uint8_t>{1, 0, 0, 2, 0, 2}));
  // After a page of prose, a front-matter page with more heading lines than prose is a title page.
  lines.insert(lines.begin(), line(lines[4].text, 0.1f, 0.9f, 10));
  for (std::size_t i = 1; i < lines.size(); ++i) ++lines[i].page;
  EXPECT_EQ(revised_levels(lines), (std::vector<std::uint8_t>{0, 1, 0, 0, 2, 0, 2}));
  // A cover whose title comes back on a later page still has it as its largest type.
  lines.erase(lines.begin() + 4, lines.end());
  lines.push_back(lines[1]);
  lines[4].page = 2;
  EXPECT_EQ(revised_levels(lines), (std::vector<std::uint8_t>{0, 0, 0, 0, 1}));
}

// A table of contents repeats the headings it lists, pages before them.
TEST(heading_cues, a_heading_repeated_on_a_later_page_was_its_contents_entry) {
  std::vector<CueLine> lines = {line(U"7 Index", 0.1f, 0.2f, 12, LineRole::heading(2)),
                                line(U"48", 0.88f, 0.9f, 10),  // its page number, apart on its row
                                line(U"2 Methods", 0.1f, 0.4f, 12, LineRole::heading(2)),
                                line(U"Index 315", 0.1f, 0.4f, 12, LineRole::heading(2)),
                                line(U"2 Methods", 0.1f, 0.4f, 12, LineRole::heading(2)),
                                line(U"Index", 0.1f, 0.4f, 12, LineRole::heading(2))};
  lines[4].page = lines[5].page = 4;
  EXPECT_EQ(revised_levels(lines), (std::vector<std::uint8_t>{0, 0, 0, 0, 2, 2}));
}

}  // namespace
}  // namespace vorlin_geometry
