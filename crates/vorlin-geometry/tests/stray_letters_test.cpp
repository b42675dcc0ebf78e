#include "vorlin_geometry/stray_letters.h"

#include <gtest/gtest.h>

#include "fixtures.h"

namespace vorlin_geometry {
namespace {

using testing::set_at;

TEST(attach_stray_letters, a_raised_letter_rejoins_its_line_fraction_parts_and_marks_stay_apart) {
  std::vector<PageChar> chars;
  // "LTX is" with "xy" set small and low at its end; a small "A" raised into "LTX", an "a" over
  // the "xy" and a raised note mark "1".
  TextLine line = set_at(chars, U"LTX is", 0, 100);
  const TextLine low = set_at(chars, U"xy", 35, 96, 7);
  line.char_indices.insert(line.char_indices.end(), low.char_indices.begin(),
                           low.char_indices.end());
  line.bbox = BBox::union_of(line.bbox, low.bbox);
  const std::vector<TextLine> lines = {set_at(chars, U"A", 4, 103, 7), line,
                                       set_at(chars, U"a", 36, 104, 7),
                                       set_at(chars, U"1", 31, 104, 7)};
  EXPECT_EQ(testing::texts_of(attach_stray_letters(lines, chars), chars),
            (std::vector<std::string>{"LATX is xy", "a", "1"}));
}

}  // namespace
}  // namespace vorlin_geometry
