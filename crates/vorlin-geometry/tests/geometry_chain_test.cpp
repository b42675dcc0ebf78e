// Hostile pages through every pass in page-analysis order: run under the sanitizers, this is
// where out-of-bounds reads, overflowing conversions and endless loops would show.

#include <gtest/gtest.h>

#include <random>

#include "fixtures.h"
#include "vorlin_geometry/headings.h"
#include "vorlin_geometry/noise.h"
#include "vorlin_geometry/paragraph.h"
#include "vorlin_geometry/word_line.h"
#include "vorlin_geometry/xycut.h"

namespace vorlin_geometry {
namespace {

using testing::kInf;
using testing::kNaN;

TEST(geometry_chain, survives_hostile_pages) {
  std::mt19937 random(5);
  const std::vector<float> specials = {kNaN, kInf, -kInf, 0.0f, -0.0f, 3.4e38f, 1e-45f};
  const std::vector<char32_t> letters = {U'a', U'1',      U' ',   U'\u00A0', U'\u2022', U'v',
                                         U'.', U'\u4E2D', 0xD800, 0x110000,  U'\t'};
  std::uniform_real_distribution<float> coordinate(0, 200);
  const auto value = [&] {
    return random() % 10 == 0 ? specials[random() % specials.size()] : coordinate(random);
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<PageChar> chars(random() % 120);
    for (PageChar& c : chars) {
      const float x0 = value(), y0 = std::floor(value() / 10) * 10;  // shared baselines
      c = PageChar{letters[random() % letters.size()], BBox{x0, y0, x0 + value() / 20, y0 + 10},
                   random() % 3 == 0 ? value() : 10.0f};
    }
    const BBox page = random() % 4 == 0 ? BBox{0, 0, value(), value()} : BBox{0, 0, 200, 210};

    const std::vector<TextLine> lines = filter_noise(group_lines(chars), chars, page);
    std::vector<HeadingLine> heading_lines;
    for (const TextLine& line : lines) {
      heading_lines.push_back(HeadingLine{line_font_size(line, chars), line.bbox,
                                          is_heading_text(line_text(line, chars))});
    }
    const std::vector<LineRole> roles = detect_headings(heading_lines, page);
    ASSERT_EQ(roles.size(), lines.size());
    std::vector<BBox> node_boxes;
    std::size_t line_count = 0;
    for (const Block& block : build_blocks(lines, roles)) {
      line_count += block.lines.size();
      if (block.is_heading) {
        ASSERT_TRUE(block.heading_level >= 1 && block.heading_level <= 6);
      }
      if (!block_text(block, chars).empty()) node_boxes.push_back(block.bbox);
    }
    ASSERT_EQ(line_count, lines.size());
    ASSERT_EQ(xycut_order(node_boxes, kReadingGapFactor, false).size(), node_boxes.size());
  }
}

}  // namespace
}  // namespace vorlin_geometry
