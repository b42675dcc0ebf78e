#include "vorlin_geometry/stray_letters.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

using testing::set_at;

TEST(attach_stray_letters, a_raised_letter_rejoins_its_line_and_a_fraction_stays_apart) {
  std::vector<PageChar> chars;
  // "LTX is" with "72" set small and low at its end; a small "A" raised into "LTX", a "1" over
  // the "72", a "B" above the line.
  TextLine line = set_at(chars, U"LTX is", 0, 100);
  const TextLine low = set_at(chars, U"72", 35, 96, 7);
  line.char_indices.insert(line.char_indices.end(), low.char_indices.begin(),
                           low.char_indices.end());
  line.bbox = BBox::union_of(line.bbox, low.bbox);
  const std::vector<TextLine> lines = {set_at(chars, U"A", 4, 103, 7), line,
                                       set_at(chars, U"1", 36, 104, 7),
                                       set_at(chars, U"B", 4, 108, 7)};
  EXPECT_EQ(testing::texts_of(attach_stray_letters(lines, chars), chars),
            (std::vector<std::string>{"LATX is 72", "1", "B"}));
}

}  // namespace
}  // namespace vorlin_geometry
