#include "vorlin_geometry/captions.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

TEST(is_caption_text, needs_a_label_and_a_number) {
  const std::vector<std::pair<const char*, bool>> cases = {
      {"Figure 1: A plot", true}, {"Figure 12. Results", true},
      {"Fig. 3 shows", true},     {"Fig.3", true},
      {"Table 2", true},          {"Figure 2b: detail", true},
      {"FIGURE 4.", true},        {"TABLE 1: Sizes", true},
      {"Figure1: tight", true},   {"Figures 3 and 4", false},
      {"Figure shows", false},    {"Table of contents", false},
      {"Figure 2bc", false},      {"In Figure 1 we", false},
      {"Tables 1", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(is_caption_text(text), expected) << text;
}

TEST(match_captions, takes_the_nearest_caption_above_or_below) {
  const std::vector<BBox> figures = {{100, 500, 300, 600}};
  struct Case {
    const char* name;
    std::vector<BBox> captions;
    std::optional<std::size_t> match;
  };
  const std::vector<Case> cases = {
      {"below", {{100, 480, 300, 495}}, 0},
      {"above", {{100, 605, 300, 615}}, 0},
      {"nearer of two", {{100, 460, 300, 470}, {100, 605, 300, 615}}, 1},
      {"beyond reach", {{100, 450, 300, 465}}, std::nullopt},
      {"beside it", {{320, 540, 400, 560}}, std::nullopt},
      {"NaN edge", {{100, 480, 300, testing::kNaN}}, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(match_captions(figures, c.captions, 30)[0], c.match) << c.name;
}

TEST(match_captions, sub_figures_share_a_caption) {
  const std::vector<BBox> figures = {{100, 500, 190, 600}, {210, 500, 300, 600}};
  const std::vector<BBox> captions = {{100, 480, 300, 495}};
  EXPECT_EQ(match_captions(figures, captions, 30), (std::vector<std::optional<std::size_t>>{0, 0}));
}

}  // namespace
}  // namespace vorlin_geometry
