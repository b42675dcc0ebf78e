#include "vorlin_core/model/outline.h"

#include <gtest/gtest.h>

#include <string>

namespace vorlin_core {
namespace {

NodePtr make_node(NodeKind kind, std::string content) {
  auto node = std::make_shared<Node>();
  node->id = new_node_id();
  node->kind = kind;
  node->content = std::move(content);
  return node;
}

NodePtr heading(std::uint8_t level, std::string content) {
  return make_node(NodeKind::heading(level), std::move(content));
}

NodePtr paragraph(std::string content) {
  return make_node(NodeKind::of(NodeKind::Tag::Paragraph), std::move(content));
}

PagePtr page_of(const std::vector<NodePtr>& nodes) {
  auto page = std::make_shared<Page>();
  page->nodes = nodes;
  for (const NodePtr& node : nodes) page->reading_order.push_back(node->id);
  return page;
}

// A compact picture of the tree: "[H2:a [H3:b p] ]" style, one token per item.
std::string shape(const OutlineSection& section) {
  std::string text;
  for (const OutlineItem& item : section.items) {
    if (const NodePtr* leaf = item.leaf()) {
      text.append((*leaf)->content).append(" ");
    } else {
      const OutlineSection& nested = *item.section();
      text.append("[").append(std::to_string(nested.level)).append(":");
      text.append(nested.heading->content).append(" ").append(shape(nested)).append("] ");
    }
  }
  return text;
}

struct OutlineCase {
  const char* name;
  std::vector<std::vector<std::pair<int, const char*>>> pages;  // level 0 = paragraph
  const char* expected;
};

class build_outline_nesting : public testing::TestWithParam<OutlineCase> {};

TEST_P(build_outline_nesting, matches_expected_tree) {
  Document document;
  for (const auto& page_nodes : GetParam().pages) {
    std::vector<NodePtr> nodes;
    for (const auto& [level, text] : page_nodes) {
      nodes.push_back(level == 0 ? paragraph(text)
                                 : heading(static_cast<std::uint8_t>(level), text));
    }
    document.pages.push_back(page_of(nodes));
  }
  EXPECT_EQ(shape(build_outline(document)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    cases, build_outline_nesting,
    testing::Values(
        OutlineCase{"no_headings", {{{0, "a"}, {0, "b"}}, {{0, "c"}}}, "a b c "},
        OutlineCase{"deeper_nests_equal_closes",
                    {{{2, "A"}, {3, "B"}, {0, "p"}, {2, "C"}}},
                    "[2:A [3:B p ] ] [2:C ] "},
        OutlineCase{"shallower_closes_all",
                    {{{2, "A"}, {3, "B"}, {1, "T"}, {0, "p"}}},
                    "[2:A [3:B ] ] [1:T p ] "},
        OutlineCase{"section_spans_pages",
                    {{{1, "A"}, {0, "p"}}, {{0, "q"}, {1, "B"}}},
                    "[1:A p q ] [1:B ] "},
        OutlineCase{"leaf_before_first_heading", {{{0, "p"}, {1, "A"}}}, "p [1:A ] "},
        OutlineCase{"level_zero_heading_is_kept", {{{3, "A"}, {9, "B"}}}, "[3:A [9:B ] ] "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(build_outline, skips_missing_ids_and_repeats_duplicates) {
  NodePtr a = paragraph("a");
  NodePtr b = paragraph("b");
  auto page = std::make_shared<Page>();
  page->nodes = {a, b};
  page->reading_order = {b->id, new_node_id(), a->id, b->id};
  Document document;
  document.pages.push_back(page);
  EXPECT_EQ(shape(build_outline(document)), "b a b ");
}

TEST(build_outline, node_missing_from_reading_order_is_left_out) {
  NodePtr a = paragraph("a");
  auto page = std::make_shared<Page>();
  page->nodes = {a, paragraph("hidden")};
  page->reading_order = {a->id};
  Document document;
  document.pages.push_back(page);
  EXPECT_EQ(shape(build_outline(document)), "a ");
}

}  // namespace
}  // namespace vorlin_core
