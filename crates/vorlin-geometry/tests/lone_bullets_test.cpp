#include "vorlin_geometry/lone_bullets.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

using testing::set_at;
using testing::texts_of;

TEST(attach_lone_bullets, joins_a_bullet_on_its_own_baseline_to_its_item) {
  std::vector<PageChar> chars;
  // Smaller bullet glyphs on higher baselines.
  const std::vector<TextLine> lines = {
      set_at(chars, U"\u2022", 50, 702, 6), set_at(chars, U"first item", 60, 700),
      set_at(chars, U"\u2022", 50, 690, 6), set_at(chars, U"second item", 60, 688)};
  const std::vector<TextLine> out = attach_lone_bullets(lines, chars);
  EXPECT_EQ(texts_of(out, chars),
            (std::vector<std::string>{"\u2022 first item", "\u2022 second item"}));
  EXPECT_FLOAT_EQ(out[0].bbox.x0, 50);
  EXPECT_FLOAT_EQ(out[0].bbox.y1, 710);
  // An item takes one bullet; the other stays in place.
  chars.clear();
  const std::vector<TextLine> two = {set_at(chars, U"\u2022", 50, 703, 6),
                                     set_at(chars, U"\u2022", 40, 701, 6),
                                     set_at(chars, U"item", 60, 700)};
  EXPECT_EQ(texts_of(attach_lone_bullets(two, chars), chars),
            (std::vector<std::string>{"\u2022", "\u2022 item"}));
}

TEST(attach_lone_bullets, leaves_bullets_without_an_item) {
  const std::vector<std::tuple<const char*, float, float>> cases = {
      {"item far to the right", 200, 700},
      {"item to the left", 20, 700},
      {"item on another line", 60, 680},
  };
  for (const auto& [name, item_x, item_y] : cases) {
    std::vector<PageChar> chars;
    const std::vector<TextLine> lines = {set_at(chars, U"\u2022", 50, 702, 6),
                                         set_at(chars, U"item", item_x, item_y)};
    EXPECT_EQ(attach_lone_bullets(lines, chars).size(), 2u) << name;
  }
}

}  // namespace
}  // namespace vorlin_geometry
