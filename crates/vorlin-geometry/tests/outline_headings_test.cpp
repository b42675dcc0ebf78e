#include "vorlin_geometry/outline_headings.h"

#include <gtest/gtest.h>

namespace vorlin_geometry {
namespace {

using Levels = std::vector<std::optional<std::uint8_t>>;

TEST(outline_headings, entries_spell_lines_on_their_page_or_the_next) {
  const std::vector<OutlineLine> lines = {
      {U"1 Introduction", 0, 700},         // spelled without its number
      {U"Body text.", 0, 680},
      {U"2.1 A title that wraps", 0, 600},  // over two lines
      {U"over lines", 0, 590},
      {U"Results", 0, 500},                 // the same words twice: the height decides
      {U"Results", 0, 300},
      {U"3 Late anchor", 1, 780},           // the anchor sat on the page before
      {U"2 Elsewhere", 1, 700},             // its entry leads to a later page
      {U"A", 1, 500},                       // too short to start a longer title
      {U"Appendix A Copying", 2, 700, true},  // a heading may name its division
      {U"See B Other", 2, 650},               // other text must spell the title
      {U"A.1 Licence", 2, 600},
  };
  const std::vector<OutlineEntry> entries = {
      {1, U"Introduction", 0, std::nullopt}, {2, U"2.1 A title that wraps over lines", 0, 600},
      {3, U"Results", 0, 310},              {1, U"3 Late anchor", 0, std::nullopt},
      {1, U"Elsewhere", 2, std::nullopt},   {2, U"A B", 1, std::nullopt},
      {1, U"A Copying", 2, std::nullopt},   {1, U"B Other", 2, std::nullopt},
      {2, U"Licence", 2, std::nullopt},
  };
  EXPECT_EQ(outline_levels(lines, entries),
            (Levels{1, std::nullopt, 2, 2, std::nullopt, 3, 1, std::nullopt, std::nullopt, 1,
                    std::nullopt, 2}));
}

}  // namespace
}  // namespace vorlin_geometry
