#include "vorlin_geometry/references.h"

#include <gtest/gtest.h>

#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {
namespace {

TEST(references, bibliography_headings) {
  for (std::u32string_view name :
       {U"References", U"7. REFERENCES", U"Bibliography", U"Literatur:", U"R\u00c9F\u00c9RENCES"}) {
    EXPECT_TRUE(is_reference_heading(name)) << encode_utf8(name);
  }
  for (std::u32string_view name : {U"Referenced work", U"5.12 References", U"", U"3 Results"}) {
    EXPECT_FALSE(is_reference_heading(name)) << encode_utf8(name);
  }
}

TEST(references, entries_split_at_lines_and_labels_after_a_full_stop) {
  EXPECT_EQ(reference_entries(U"[1] A. One. Title, 2010. [2] B. Two, as in [1] and.\n"
                              U"  3. C. Three.\n\n"),
            (std::vector<std::u32string>{U"[1] A. One. Title, 2010.", U"[2] B. Two, as in [1] and.",
                                         U"3. C. Three."}));
}

}  // namespace
}  // namespace vorlin_geometry
