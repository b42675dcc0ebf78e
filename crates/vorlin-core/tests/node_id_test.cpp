#include "vorlin_core/model/node_id.h"

#include <gtest/gtest.h>

#include <set>

#include "vorlin_core/model/node_kind.h"

namespace vorlin_core {
namespace {

TEST(node_id, text_is_crockford_base32_most_significant_first) {
  const std::vector<std::pair<NodeId, const char*>> cases = {
      {{0, 0}, "00000000000000000000000000"},
      {{~0ull, ~0ull}, "7ZZZZZZZZZZZZZZZZZZZZZZZZZ"},
      {{0, 32}, "00000000000000000000000010"},
      // The ULID reference example.
      {{0x0156'3E3A'B5D3'D676ull, 0x4C61'EFB9'9302'BD5Bull}, "01ARZ3NDEKTSV4RRFFQ69G5FAV"},
  };
  for (const auto& [id, text] : cases) EXPECT_EQ(id.to_string(), text);
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
  std::string written;
  for (const NodeKind kind :
       {NodeKind::heading(0), NodeKind::heading(2), NodeKind::of(Tag::Paragraph),
        NodeKind::of(Tag::List), NodeKind::of(Tag::Table), NodeKind::of(Tag::Figure),
        NodeKind::of(Tag::Caption), NodeKind::of(Tag::Equation), NodeKind::of(Tag::CodeListing),
        NodeKind::of(Tag::Footnote), NodeKind::of(Tag::Reference), NodeKind::of(Tag::Header),
        NodeKind::of(Tag::Footer), NodeKind::of(Tag::PageNumber)}) {
    written += type_string(kind);
    for (std::string_view tag : kind_tags(kind)) written += "#" + std::string(tag);
    written += " ";
  }
  EXPECT_EQ(
      written,
      "heading-0#section heading-2#section paragraph list table#table figure#figure caption "
      "equation#equation code-listing footnote reference#citation header footer page-number ");
}

}  // namespace
}  // namespace vorlin_core
