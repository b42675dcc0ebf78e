#include "vorlin_geometry/hyphenation.h"

#include <gtest/gtest.h>

namespace vorlin_geometry {
namespace {

TEST(join_block_lines, mends_words_broken_at_line_ends) {
  using Case = std::tuple<const char*, std::vector<std::u32string_view>, std::u32string>;
  const std::vector<Case> cases = {
      {"broken word before lowercase", {U"a hyphen-", U"ated word"}, U"a hyphenated word"},
      {"unicode hyphen", {U"inter\u2010", U"national"}, U"international"},
      {"compound before a capital keeps its hyphen",
       {U"the Franco-", U"German border"},
       U"the Franco-German border"},
      {"compound before a digit", {U"COVID-", U"19 cases"}, U"COVID-19 cases"},
      {"soft hyphen is always a break", {U"Donau\u00ad", U"Dampfschiff"}, U"DonauDampfschiff"},
      {"a dash after a space is no hyphen", {U"wait -", U"then go"}, U"wait - then go"},
      {"a hyphen after a digit stays with a space",
       {U"pages 3-", U"and more"},
       U"pages 3- and more"},
      {"lowercase accented start", {U"co-", U"\u00e9dition"}, U"co\u00e9dition"},
      {"blank lines are skipped", {U"one", U"  ", U"two"}, U"one two"},
  };
  for (const auto& [name, lines, text] : cases) EXPECT_EQ(join_block_lines(lines), text) << name;
}

}  // namespace
}  // namespace vorlin_geometry
