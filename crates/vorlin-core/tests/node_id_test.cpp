#include "vorlin_core/model/node_id.h"

#include <gtest/gtest.h>

#include <set>

#include "vorlin_core/model/node_kind.h"

namespace vorlin_core {
namespace {

struct UlidCase {
  NodeId id;
  const char* text;
};

TEST(node_id, text_is_crockford_base32_most_significant_first) {
  const std::vector<UlidCase> cases = {
      {{0, 0}, "00000000000000000000000000"},
      {{~0ull, ~0ull}, "7ZZZZZZZZZZZZZZZZZZZZZZZZZ"},
      {{0, 1}, "00000000000000000000000001"},
      {{0, 32}, "00000000000000000000000010"},
      // The ULID reference example 01ARZ3NDEKTSV4RRFFQ69G5FAV.
      {{0x0156'3E3A'B5D3'D676ull, 0x4C61'EFB9'9302'BD5Bull}, "01ARZ3NDEKTSV4RRFFQ69G5FAV"},
  };
  for (const UlidCase& c : cases) EXPECT_EQ(c.id.to_string(), c.text);
}

TEST(node_id, fresh_ids_carry_the_current_time_and_differ) {
  std::set<std::string> texts;
  const NodeId first = new_node_id();
  for (int i = 0; i < 1000; ++i) texts.insert(new_node_id().to_string());
  EXPECT_EQ(texts.size(), 1000u);
  // Year 2020 onwards in milliseconds sits well above 2^40.
  EXPECT_GT(first.high >> 16, 1ull << 40);
  EXPECT_LT(first.high >> 16, 1ull << 48);
}

TEST(node_kind, type_strings_and_tags) {
  using Tag = NodeKind::Tag;
  struct Case {
    NodeKind kind;
    const char* type;
    std::vector<std::string_view> tags;
  };
  const std::vector<Case> cases = {
      {NodeKind::heading(2), "heading-2", {"section"}},
      {NodeKind::heading(0), "heading-0", {"section"}},
      {NodeKind::of(Tag::Paragraph), "paragraph", {}},
      {NodeKind::of(Tag::List), "list", {}},
      {NodeKind::of(Tag::Table), "table", {"table"}},
      {NodeKind::of(Tag::Figure), "figure", {"figure"}},
      {NodeKind::of(Tag::Caption), "caption", {}},
      {NodeKind::of(Tag::Equation), "equation", {"equation"}},
      {NodeKind::of(Tag::CodeListing), "code-listing", {}},
      {NodeKind::of(Tag::Footnote), "footnote", {}},
      {NodeKind::of(Tag::Reference), "reference", {"citation"}},
      {NodeKind::of(Tag::Header), "header", {}},
      {NodeKind::of(Tag::Footer), "footer", {}},
      {NodeKind::of(Tag::PageNumber), "page-number", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(type_string(c.kind), c.type);
    EXPECT_EQ(kind_tags(c.kind), c.tags) << c.type;
  }
}

}  // namespace
}  // namespace vorlin_core
