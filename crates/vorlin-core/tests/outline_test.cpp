#include "vorlin_core/model/outline.h"

#include <gtest/gtest.h>

#include <string>

#include "support/render_documents.h"

namespace vorlin_core {
namespace {

using namespace testing_support;

// A compact picture of the tree: "[2:A [3:B p ] ] " style, one token per item.
std::string shape(const OutlineSection& section) {
  std::string text;
  for (const OutlineItem& item : section.items) {
    if (const NodePtr* leaf = item.leaf()) {
      text += (*leaf)->content + " ";
    } else {
      const OutlineSection& nested = *item.section();
      text += "[" + std::to_string(nested.level) + ":" + nested.heading->content + " " +
              shape(nested) + "] ";
    }
  }
  return text;
}

struct OutlineCase {
  const char* name;
  Pages pages;
  const char* expected;
  ReadingOrders reading = {};
};

TEST(build_outline, nests_sections_by_level) {
  // clang-format off
  const std::vector<OutlineCase> cases = {
      OutlineCase{"leaves_before_the_first_heading_stay_at_the_root",
                  {{paragraph("a"), paragraph("b")}, {paragraph("c"), heading(1, "A")}},
                  "a b c [1:A ] "},
      OutlineCase{"deeper_nests_equal_closes",
                  {{heading(2, "A"), heading(3, "B"), paragraph("p"), heading(3, "C"),
                    heading(2, "D")}},
                  "[2:A [3:B p ] [3:C ] ] [2:D ] "},
      OutlineCase{"shallower_closes_all",
                  {{heading(2, "A"), heading(3, "B"), heading(1, "T"), paragraph("p")}},
                  "[2:A [3:B ] ] [1:T p ] "},
      OutlineCase{"section_spans_pages",
                  {{heading(1, "A"), paragraph("p")}, {paragraph("q"), heading(1, "B")}},
                  "[1:A p q ] [1:B ] "},
      OutlineCase{"missing_ids_skipped_duplicates_repeated",
                  {{paragraph("a"), paragraph("b")}}, "b a b ", {{1, 2, 0, 1}}}};
  // clang-format on
  for (const OutlineCase& c : cases) {
    EXPECT_EQ(shape(build_outline(document_of(c.pages, c.reading))), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace vorlin_core
