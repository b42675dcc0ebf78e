#include "vorlin_geometry/headings.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

using testing::kInf;
using testing::kNaN;

TEST(size_histogram, buckets_by_half_points_with_running_mean) {
  const float denorm = std::numeric_limits<float>::denorm_min();
  const float max = std::numeric_limits<float>::max();
  const std::vector<std::tuple<const char*, std::vector<float>, std::vector<SizeBucket>>> cases = {
      {"10.2 and 10.3 differ", {10.3f, 10.2f}, {{10.2f, 1}, {10.3f, 1}}},
      // The running mean in float: 10.4500008, not the nearest float to 10.45.
      {"10.3 and 10.6 share a bucket", {10.3f, 10.6f}, {{10.4500008f, 2}}},
      {"invalid sizes are skipped", {0, -0.0f, -4, kNaN, kInf, 12}, {{12, 1}}},
      {"subnormal and huge sizes are counted", {max, denorm}, {{denorm, 1}, {max, 1}}},
  };
  for (const auto& [name, sizes, buckets] : cases)
    EXPECT_EQ(size_histogram(sizes), buckets) << name;
}

TEST(is_heading_text, needs_three_alphanumerics_and_a_letter_or_two_ideographs) {
  const std::vector<std::pair<std::u32string, bool>> cases = {
      {U"  Ab1 ", true}, {U"2024", false},          {U"A.1", false},
      {U"a b", false},   {U"\u4E2D\u6587\u5B57", true}, {U"\u00BD\u00BDx", true},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(is_heading_text(text), expected);
  // An ideographic word is two ideographs or more with spaces only.
  EXPECT_TRUE(is_ideographic_word(U" \u6458 \u8981 "));
  EXPECT_FALSE(is_ideographic_word(U"\u6458"));
  EXPECT_FALSE(is_ideographic_word(U"\u6458\u8981 A"));
}

const BBox kPage{0, 0, 600, 1000};

struct Line {
  float size;
  float y0 = 500;
  bool heading_text = true;
};

std::vector<LineRole> detect(const std::vector<Line>& lines, const BBox& page = kPage,
                             bool in_margins = false) {
  std::vector<HeadingLine> heading_lines;
  for (const Line& line : lines) {
    heading_lines.push_back(
        HeadingLine{line.size, BBox{0, line.y0, 100, line.y0 + line.size}, line.heading_text});
  }
  return detect_headings(heading_lines, page, in_margins);
}

// The roles of `tail` after ten body lines at 10 points (threshold 11).
std::vector<LineRole> detect_after_body(std::vector<Line> tail) {
  std::vector<Line> lines(10, {10});
  lines.insert(lines.end(), tail.begin(), tail.end());
  std::vector<LineRole> roles = detect(lines);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(roles[i], LineRole::body());
  return {roles.begin() + 10, roles.end()};
}

TEST(detect_headings, levels_rank_merged_sizes) {
  const LineRole body = LineRole::body();
  const auto h = [](std::uint8_t level) { return LineRole::heading(level); };
  const std::vector<std::tuple<const char*, std::vector<Line>, std::vector<LineRole>>> cases = {
      {"14.0 and 14.6 merge into 14.3", {{14.0f}, {14.6f}}, {h(1), h(1)}},
      // 20 and 19.5 make 19.75, then with 19.2 make 19.475: 20 is 0.525 away from that level.
      {"progressive merging", {{20}, {19.5f}, {19.2f}}, {h(6), h(1), h(1)}},
      {"levels stop at six",
       {{18}, {17}, {16}, {15}, {14}, {13}, {12}},
       {h(1), h(2), h(3), h(4), h(5), h(6), h(6)}},
      // 10.9 and 11 share a bucket whose mean is below the threshold, so no level exists.
      {"threshold is inclusive, unmatched headings get level 6", {{10.9f}, {11}}, {body, h(6)}},
      {"position rule boundaries",
       {{20, 920}, {20, 921}, {20, 50}, {20, 49}, {20, kNaN}},
       {h(1), body, h(1), body, h(1)}},
      {"text rule", {{20, 500, false}, {20, 500, true}}, {body, h(1)}},
  };
  for (const auto& [name, lines, roles] : cases) EXPECT_EQ(detect_after_body(lines), roles) << name;
}

TEST(detect_headings, pages_without_headings) {
  const std::vector<LineRole> all_body(10, LineRole::body());
  EXPECT_EQ(detect(std::vector<Line>(10, {12})), all_body);
  // Equal counts: the larger bucket is the body size, so nothing reaches 1.1 x 12.
  std::vector<Line> tie(5, {10});
  tie.insert(tie.end(), 5, {12});
  EXPECT_EQ(detect(tie), all_body);
}

TEST(detect_headings, position_rule_skipped_without_page_height_or_when_asked) {
  const LineRole body = LineRole::body(), h1 = LineRole::heading(1);
  EXPECT_EQ(detect({{10}, {10}, {10}, {20, 0}, {20, -50}}, BBox{}),
            (std::vector<LineRole>{body, body, body, h1, h1}));
  EXPECT_EQ(detect({{10}, {10}, {10}, {20, 921}, {20, 49}}, kPage, true),
            (std::vector<LineRole>{body, body, body, h1, h1}));
}

TEST(close_level_gaps, levels_in_use_follow_one_another_from_the_shallowest) {
  const auto h = [](std::uint8_t level) { return LineRole::heading(level); };
  std::vector<LineRole> roles = {h(2), LineRole::body(), h(5), h(2), h(6)};
  close_level_gaps(roles);
  EXPECT_EQ(roles, (std::vector<LineRole>{h(2), LineRole::body(), h(3), h(2), h(4)}));
}

}  // namespace
}  // namespace vorlin_geometry
