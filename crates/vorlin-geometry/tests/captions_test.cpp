#include "vorlin_geometry/captions.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

TEST(is_caption_text, needs_a_label_and_a_number) {
  const std::vector<std::pair<std::u32string_view, bool>> cases = {
      {U"Figure 12. Results", true}, {U"Fig.3", true},          {U"Table 2", true},
      {U"Figure 2b: detail", true},  {U"FIGURE 4.", true},      {U"Figure1: tight", true},
      {U"Figures 3 and 4", false},   {U"Figure shows", false},  {U"Figure 2bc", false},
      {U"In Figure 1 we", false},    {U"Tables 1", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(is_caption_text(text), expected);
}

TEST(match_captions, takes_the_nearest_caption_above_or_below) {
  const std::vector<BBox> figures = {{100, 500, 300, 600}};
  using Case = std::tuple<const char*, std::vector<BBox>, std::optional<std::size_t>>;
  const std::vector<Case> cases = {
      {"below", {{100, 480, 300, 495}}, 0},
      {"above", {{100, 605, 300, 615}}, 0},
      {"nearer of two", {{100, 460, 300, 470}, {100, 605, 300, 615}}, 1},
      {"exactly at reach", {{100, 455, 300, 470}}, 0},
      {"just beyond reach", {{100, 454, 300, 469.9f}}, std::nullopt},
      {"beside it", {{320, 540, 400, 560}}, std::nullopt},
      {"NaN edge", {{100, 480, 300, testing::kNaN}}, std::nullopt},
  };
  for (const auto& [name, captions, match] : cases)
    EXPECT_EQ(match_captions(figures, captions, 30)[0], match) << name;
  // Sub-figures share a caption.
  const std::vector<BBox> halves = {{100, 500, 190, 600}, {210, 500, 300, 600}};
  EXPECT_EQ(match_captions(halves, std::vector<BBox>{{100, 480, 300, 495}}, 30),
            (std::vector<std::optional<std::size_t>>{0, 0}));
}

TEST(caption_reach, is_three_median_line_heights) {
  EXPECT_EQ(caption_reach(std::vector<float>{12, testing::kNaN, -1, 10, 14}), 36.0f);
  EXPECT_EQ(caption_reach({}), 30.0f);
}

}  // namespace
}  // namespace vorlin_geometry
