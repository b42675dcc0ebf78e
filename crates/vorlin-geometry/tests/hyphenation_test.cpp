#include "vorlin_geometry/hyphenation.h"

#include <gtest/gtest.h>

namespace vorlin_geometry {
namespace {

TEST(join_block_lines, mends_words_broken_at_line_ends) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"plain lines get one space", {"first line", "second line"}, "first line second line"},
      {"broken word before lowercase", {"a hyphen-", "ated word"}, "a hyphenated word"},
      {"unicode hyphen", {"inter\u2010", "national"}, "international"},
      {"compound before a capital keeps its hyphen",
       {"the Franco-", "German border"},
       "the Franco-German border"},
      {"compound before a digit", {"COVID-", "19 cases"}, "COVID-19 cases"},
      {"soft hyphen is always a break", {"Donau\u00ad", "Dampfschiff"}, "DonauDampfschiff"},
      {"a dash after a space is no hyphen", {"wait -", "then go"}, "wait - then go"},
      {"a hyphen after a digit stays with a space", {"pages 3-", "and more"}, "pages 3- and more"},
      {"lowercase accented start", {"co-", "\u00e9dition"}, "co\u00e9dition"},
      {"blank lines are skipped", {"one", "  ", "two"}, "one two"},
  };
  for (const Case& c : cases) EXPECT_EQ(join_block_lines(c.lines), c.text) << c.name;
}

}  // namespace
}  // namespace vorlin_geometry
