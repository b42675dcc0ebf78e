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

TEST(references, entries_split_at_lines_and_labels_after_a_full_stop_or_numbering_the_next) {
  EXPECT_EQ(reference_entries(U"[1] A. One. Title, 2010. [2] B. Two, as in [1] and\n"
                              U"  3. C. Three. [4] D. Four, see [2] [5] E. Five\n\n"),
            (std::vector<std::u32string>{U"[1] A. One. Title, 2010.", U"[2] B. Two, as in [1] and",
                                         U"3. C. Three.", U"[4] D. Four, see [2]",
                                         U"[5] E. Five"}));
}

TEST(references, numbered_runs_citing_years_read_as_bibliographies) {
  using Entries = std::vector<std::u32string>;
  EXPECT_TRUE(is_numbered_bibliography(Entries{U"[1] A. One, 2001.", U"[2] B. Two, Proc."}));
  EXPECT_TRUE(is_numbered_bibliography(Entries{U"1. A. One (1999)", U"2. B. Two (2004)"}));
  for (const Entries& entries : {
           Entries{U"[1] A note.", U"[2] p. 12345, 300."},   // no years
           Entries{U"[1] A. One, 2001.", U"[3] C. Three, 2003."},  // a gap
           Entries{U"[2] B. Two, 2001.", U"[3] C. Three, 2003."},  // not from the first
           Entries{U"1.A. One, 2001.", U"2.B. Two, 2002."},        // no label
           Entries{U"[1] A. One, 2001."},
       }) {
    EXPECT_FALSE(is_numbered_bibliography(entries)) << encode_utf8(entries[0]);
  }
}

}  // namespace
}  // namespace vorlin_geometry
