#include "vorlin_geometry/paragraph.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

using testing::kNaN;

// Lines spanning x 0..100 between the given (y0, y1) edges.
using Edges = std::vector<std::pair<float, float>>;

std::vector<TextLine> lines_between(const Edges& edges) {
  std::vector<TextLine> lines;
  for (auto [y0, y1] : edges) lines.push_back(TextLine{{lines.size()}, BBox{0, y0, 100, y1}, y0});
  return lines;
}

// Each block's line count, a heading's prefixed by "h", its level and ':'.
std::string shape(const std::vector<Block>& blocks) {
  std::string out;
  for (const Block& b : blocks) {
    if (!out.empty()) out += ' ';
    if (b.is_heading) out.append("h").append(std::to_string(b.heading_level)).append(":");
    out += std::to_string(b.lines.size());
  }
  return out;
}

TEST(build_blocks, joins_body_lines_by_gap_tolerance) {
  const std::vector<std::tuple<const char*, Edges, std::string>> cases = {
      // Zero-height lines: tolerance 7.0.
      {"gap equal to the default tolerance joins", {{100, 100}, {93, 93}}, "2"},
      {"gap above the default tolerance splits", {{100, 100}, {92.9f, 92.9f}}, "1 1"},
      // Height 10: tolerance 7.
      {"gap is measured from the last line added",
       {{100, 110}, {84, 94}, {68, 78}, {50, 60}},
       "3 1"},
      // Heights 30, 8, 7: tolerance 5.6; the paragraph's box reaches down to 80.
      {"gap is measured from the last line, not the paragraph's box",
       {{80, 110}, {100, 108}, {85, 92}},
       "2 1"},
      {"NaN gaps start new paragraphs", {{100, 110}, {kNaN, kNaN}, {90, 99}}, "1 1 1"},
  };
  for (const auto& [name, edges, blocks] : cases) {
    EXPECT_EQ(shape(build_blocks(lines_between(edges), {})), blocks) << name;
  }
}

TEST(build_blocks, heading_lines_stand_alone) {
  const LineRole body = LineRole::body();
  const LineRole h2 = LineRole::heading(2);
  const std::vector<TextLine> lines =
      lines_between({{100, 110}, {88, 98}, {76, 86}, {64, 74}, {52, 62}});
  const std::vector<std::tuple<const char*, std::vector<LineRole>, std::string>> cases = {
      {"heading between body lines", {body, h2, body, body, body}, "1 h2:1 3"},
      {"lines beyond the roles are body", {body, body, h2}, "2 h2:1 2"},
  };
  for (const auto& [name, roles, blocks] : cases) {
    EXPECT_EQ(shape(build_blocks(lines, roles)), blocks) << name;
  }
}

TEST(block_text, joins_repairs_and_collapses) {
  const std::vector<std::pair<std::vector<std::u32string>, std::string>> cases = {
      {{U"T I T L E  O N E"}, "TITLE ONE"},
      {{U"   ", U"\tfirst \u00A0line", U"\t", U"second\u3000"}, "first line second"},
      {{U"a\u200Bb"}, "a\u200Bb"},  // ZWSP is not White_Space
      {{U"caf\u00E9", U"x\xD800y"}, "caf\u00E9 x\uFFFDy"},
  };
  for (const auto& [texts, text] : cases) {
    std::vector<PageChar> chars;
    Block block;
    for (const std::u32string& line : texts) {
      block.lines.push_back(testing::set_at(chars, line, 0, 100.0f - 12.0f * block.lines.size()));
    }
    EXPECT_EQ(block_text(block, chars), text);
  }
}

}  // namespace
}  // namespace vorlin_geometry
