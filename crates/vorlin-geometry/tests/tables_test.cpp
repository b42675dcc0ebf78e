#include "vorlin_geometry/tables.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

using Cells = std::vector<std::vector<std::string>>;

// A page of rows of cells set in a fixed-pitch font, each cell's lines one below the other.
struct Row {
  float y;                                                 // baseline of the first line
  std::vector<std::pair<float, std::u32string>> lines_at;  // (x, text) for each piece
};

struct Case {
  const char* name;
  std::vector<BBox> rules;
  std::vector<Row> rows;
  Cells cells;  // empty: no table
  bool fixed_pitch = false;
};

BBox h_rule(float y, float x0 = 50, float x1 = 350) { return {x0, y, x1, y + 0.4f}; }
BBox v_rule(float x, float y0, float y1) { return {x, y0, x + 0.4f, y1}; }

TEST(find_tables, finds_ruled_and_open_tables_and_nothing_else) {
  const std::vector<Case> cases = {
      {"wrapped cells in ruled rows",
       {h_rule(500), h_rule(480), h_rule(450), h_rule(430), h_rule(410), v_rule(50, 410, 500),
        v_rule(150, 410, 500), v_rule(350, 410, 500)},
       {{485, {{55, U"Key"}, {155, U"Meaning"}}},
        {465, {{55, U"one"}, {155, U"first line"}}},
        {453, {{155, U"and more"}}},
        {435, {{55, U"two"}, {155, U"x"}}},
        {415, {{55, U"three"}, {155, U"y"}}}},
       {{"Key", "Meaning"}, {"one", "first line and more"}, {"two", "x"}, {"three", "y"}}},
      {"booktabs",
       {h_rule(500), h_rule(482), h_rule(430)},
       {{486, {{55, U"Model"}, {200, U"Score"}}},
        {466, {{55, U"small one"}, {200, U"0.91"}}},
        {452, {{55, U"large"}, {200, U"0.95"}}},
        {438, {{55, U"huge"}, {200, U"0.97"}}}},
       {{"Model", "Score"}, {"small one", "0.91"}, {"large", "0.95"}, {"huge", "0.97"}}},
      {"only top and bottom rules",
       {h_rule(500), h_rule(450)},
       {{486, {{55, U"Model"}, {200, U"Score"}}}, {466, {{55, U"large"}, {200, U"0.95"}}}},
       {}},
      {"prose between rules",
       {h_rule(500), h_rule(482), h_rule(430)},
       {{486, {{55, U"A sentence that runs along"}}},
        {466, {{55, U"the whole width of its box"}}},
        {452, {{55, U"as prose does, no gaps"}}}},
       {}},
      {"two columns of prose between rules",
       {h_rule(500, 50, 550), h_rule(482, 50, 550), h_rule(430, 50, 550)},
       {{486,
         {{55, U"The left column runs on and on in its"},
          {305, U"while the right one does so too, all"}}},
        {466,
         {{55, U"long lines with words in every one of"},
          {305, U"the way, and never stops for a cell"}}},
        {452,
         {{55, U"them, as prose set in two columns does"},
          {305, U"and so no table may be found there"}}}},
       {}},
      {"unruled",
       {},
       {{486, {{55, U"Queue"}, {150, U"Lines"}, {230, U"Mean"}}},
        {472, {{55, U"input scale"}, {150, U"61,548"}, {230, U"67.13"}}},
        {458, {{55, U"factor"}, {150, U"88,705"}, {240, U"3.1"}}}},
       {{"Queue", "Lines", "Mean"},
        {"input scale", "61,548", "67.13"},
        {"factor", "88,705", "3.1"}}},
      {"short lines beside a column of prose",
       {},
       {{486, {{55, U"x = 1"}, {200, U"the right column runs on in prose"}}},
        {472, {{55, U"y = 2"}, {200, U"as a column of a page does, with"}}},
        {458, {{55, U"z = 3"}, {200, U"long lines that no table cell has"}}}},
       {}},
      {"narrow columns of prose",
       {},
       {{486,
         {{55, U"the first column runs"},
          {200, U"while the second one"},
          {345, U"and a third as well"}}},
        {472,
         {{55, U"on in short lines of"},
          {200, U"does so in its turn"},
          {345, U"with words in each"}}},
        {458,
         {{55, U"a few words at most"}, {200, U"as narrow ones do"}, {345, U"line of the page"}}}},
       {}},
      {"rows leaving half the columns empty",
       {},
       {{486, {{55, U"Name:"}, {120, U"mail"}, {200, U"2"}, {240, U"Section"}}},
        {472, {{55, U"web,"}, {120, U"use it"}}},
        {458, {{55, U"and"}, {120, U"also"}}}},
       {}},
      {"a line painted across the frame",
       {h_rule(500), h_rule(480), h_rule(460), v_rule(50, 460, 500), v_rule(150, 460, 500),
        v_rule(350, 460, 500)},
       {{485, {{55, U"Name"}, {155, U"Size"}}},
        {465, {{55, U"alpha"}, {155, U"12"}, {260, U"beside"}, {400, U"it"}}}},
       {{"Name", "Size"}, {"alpha", "12"}}},
      {"a column with no text",
       {h_rule(500), h_rule(480), h_rule(460), v_rule(50, 460, 500), v_rule(150, 460, 500),
        v_rule(250, 460, 500), v_rule(350, 460, 500)},
       {{485, {{55, U"Name"}, {155, U"Size"}}}, {465, {{55, U"alpha"}, {155, U"12"}}}},
       {{"Name", "Size"}, {"alpha", "12"}}},
      {"a boxed code listing",
       {h_rule(500), h_rule(440), v_rule(50, 440, 500), v_rule(150, 440, 500),
        v_rule(350, 440, 500)},
       {{485, {{55, U"if x:"}, {155, U"# set"}}}, {465, {{55, U"  y = 1"}, {155, U"# reset"}}}},
       {},
       true},
      {"a note box touched by a field's short edge",
       {h_rule(500), h_rule(420), v_rule(50, 420, 500), v_rule(350, 420, 500),
        v_rule(150, 475, 510)},
       {{485, {{55, U"Note:"}, {155, U"see the"}}},
        {470, {{155, U"other side"}}},
        {455, {{55, U"Also:"}, {155, U"and more"}}}},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<PageChar> chars;
    for (const Row& row : c.rows) {
      for (const auto& [x, text] : row.lines_at) testing::set_at(chars, text, x, row.y - 2);
    }
    for (PageChar& ch : chars) ch.monospace = c.fixed_pitch;
    const std::vector<FoundTable> tables = find_tables(c.rules, chars);
    if (c.cells.empty()) {
      EXPECT_TRUE(tables.empty());
    } else {
      ASSERT_EQ(tables.size(), 1u);
      EXPECT_EQ(tables[0].cells, c.cells);
    }
  }
}

// Ligature letters share one box and must keep their order (the line is long enough that an
// unstable sort would not fall back to insertion sort); a phrase across a column rule is text.
TEST(find_tables, keeps_ligature_letters_in_order_and_leaves_a_phrase_across_a_rule) {
  std::vector<PageChar> chars;
  testing::set_at(chars, U"Name", 55, 483);
  testing::set_at(chars, U"Size", 155, 483);
  testing::set_at(chars, U"redefine", 55, 463);
  for (char32_t ch : {U'f', U'i', U'f', U'i'}) chars.push_back(testing::glyph(ch, 95, 463));
  testing::set_at(chars, U"nedefine", 100, 463);
  testing::set_at(chars, U"12", 155, 463);
  testing::set_at(chars, U"beta", 55, 443);
  const std::size_t across = chars.size();
  testing::set_at(chars, U"note", 140, 443);
  const std::vector<BBox> rules = {
      h_rule(500),          h_rule(480),           h_rule(460),          h_rule(440),
      v_rule(50, 440, 500), v_rule(150, 440, 500), v_rule(350, 440, 500)};
  const std::vector<FoundTable> tables = find_tables(rules, chars);
  ASSERT_EQ(tables.size(), 1u);
  EXPECT_EQ(tables[0].cells,
            (Cells{{"Name", "Size"}, {"redefinefifinedefine", "12"}, {"beta", ""}}));
  EXPECT_LT(tables[0].glyphs.back(), across);
}

TEST(ruling_lines, keeps_thin_paths_and_stroked_box_edges_not_regions_or_a_layers_own) {
  const std::vector<PagePath> paths = {
      {{50, 100, 300, 101}, false, true},  // a filled thin rectangle: a rule
      {{50, 200, 300, 260}, false, true},  // a filled block: a region
      {{50, 600, 300, 618}, false, true},  // a row's background: two rules
      {{50, 300, 300, 360}, true},         // a stroked box: four rules
      {{50, 400, 300, 400.5f}, true},      // under the header below: the page's, kept
      {{50, 500, testing::kNaN, 501}, true},
      {{40, 390, 320, 420}, false, true},  // a header painted over the page
      {{60, 395, 200, 415}, true},         // its search field: none
      {{50, 100, 300, 130}, false, true},  // a cell background meeting its border
      {{60, 105, 200, 106}, true},         // a rule drawn on that background
  };
  EXPECT_EQ(ruling_lines(paths).size(), 9u);
}

TEST(pipe_table, writes_header_separator_and_escapes_bars) {
  EXPECT_EQ(pipe_table({{"a", "b"}, {"x|y", "line\nbreak"}}),
            "| a | b |\n| --- | --- |\n| x\\|y | line break |");
}

}  // namespace
}  // namespace vorlin_geometry
