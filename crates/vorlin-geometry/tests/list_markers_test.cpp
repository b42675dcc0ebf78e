#include "vorlin_geometry/list_markers.h"

#include <gtest/gtest.h>

namespace vorlin_geometry {
namespace {

TEST(list_marker, recognises_bullets_and_enumerators) {
  struct Case {
    std::u32string_view line;
    bool is_marker;
    std::size_t length = 0;
    bool is_bullet = false;
    bool unambiguous = false;
  };
  const std::vector<Case> cases = {
      {U"\u2022 first item", true, 2, true, true},
      {U"\u2022first item", true, 1, true, true},  // a plain bullet needs no space
      {U"\u2013 dash item", true, 2, true, false},
      {U"- dash item", true, 2, true, false},
      {U"-5 degrees", false},
      {U"*emphasis*", false},
      {U"1. first", true, 3, false, false},
      {U"12) twelfth", true, 4, false, false},
      {U"a) letter", true, 3, false, false},
      {U"(iv) roman", true, 5, false, false},
      {U"  2. indented", true, 5, false, false},
      {U"A. Smith wrote", false},  // initials, not an enumerator
      {U"1.5 metres", false},
      {U"1.2. nested", true, 5, false, false},
      {U"10.2.3) deeper", true, 8, false, false},
      {U"1234. too long", false},
      {U"2024 was a year", false},
      {U"\u2022", false},  // no item text
      {U"", false},
  };
  for (const Case& c : cases) {
    const std::optional<ListMarker> marker = list_marker(c.line);
    ASSERT_EQ(marker.has_value(), c.is_marker) << c.length;
    if (!marker) continue;
    EXPECT_EQ(marker->length, c.length) << c.length;
    EXPECT_EQ(marker->is_bullet, c.is_bullet) << c.length;
    EXPECT_EQ(marker->unambiguous, c.unambiguous) << c.length;
  }
}

}  // namespace
}  // namespace vorlin_geometry
