#include "vorlin_geometry/list_markers.h"

#include <gtest/gtest.h>

namespace vorlin_geometry {
namespace {

TEST(list_marker, recognises_bullets_and_enumerators) {
  struct Case {
    const char* line;
    bool is_marker;
    std::size_t length = 0;
    bool is_bullet = false;
    bool unambiguous = false;
  };
  const std::vector<Case> cases = {
      {"\u2022 first item", true, 4, true, true},
      {"\u2022first item", true, 3, true, true},  // a plain bullet needs no space
      {"\u2013 dash item", true, 4, true, false},
      {"- dash item", true, 2, true, false},
      {"* star item", true, 2, true, false},
      {"-5 degrees", false},
      {"*emphasis*", false},
      {"1. first", true, 3, false, false},
      {"12) twelfth", true, 4, false, false},
      {"a) letter", true, 3, false, false},
      {"(iv) roman", true, 5, false, false},
      {"(A) capital", true, 4, false, false},
      {"  2. indented", true, 5, false, false},
      {"A. Smith wrote", false},  // initials, not an enumerator
      {"e.g. this", false},
      {"1.5 metres", false},
      {"1234. too long", false},
      {"2024 was a year", false},
      {"\u2022", false},  // no item text
      {"1.   ", false},
      {"", false},
  };
  for (const Case& c : cases) {
    const std::optional<ListMarker> marker = list_marker(c.line);
    ASSERT_EQ(marker.has_value(), c.is_marker) << c.line;
    if (!marker) continue;
    EXPECT_EQ(marker->length, c.length) << c.line;
    EXPECT_EQ(marker->is_bullet, c.is_bullet) << c.line;
    EXPECT_EQ(marker->unambiguous, c.unambiguous) << c.line;
  }
}

}  // namespace
}  // namespace vorlin_geometry
