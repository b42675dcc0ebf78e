#include "vorlin_core/render/graph_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

#include "support/render_documents.h"
#include "vorlin_core/render/json_string.h"

namespace vorlin_core {
namespace {

using namespace testing_support;
using Tag = NodeKind::Tag;

std::string id_text(std::uint64_t n) { return NodeId{0, n}.to_string(); }

// "A>B contains, ..." for the edges, naming nodes by content.
std::string edges_of(const Document& document) {
  const Graph graph = build_graph(document);
  std::unordered_map<NodeId, std::string> names;
  for (const GraphNode& node : graph.nodes) names[node.id] = node.content;
  std::string edges;
  for (const Edge& edge : graph.edges) {
    edges += (edges.empty() ? "" : ", ") + names[edge.from] + ">" + names[edge.to] + " " +
             std::string(wire_string(edge.relation));
  }
  return edges;
}

struct EdgeCase {
  const char* name;
  std::vector<std::vector<NodeDraft>> pages;
  const char* edges;
};

class build_graph_edges : public testing::TestWithParam<EdgeCase> {};

TEST_P(build_graph_edges, listed_in_walk_order) {
  DocumentBuilder builder;
  for (const auto& page : GetParam().pages) builder.page(page);
  EXPECT_EQ(edges_of(builder.document()), GetParam().edges);
}

const NodeDraft kFigure = of(Tag::Figure, "f");
const NodeDraft kCaption = of(Tag::Caption, "c");

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    cases, build_graph_edges,
    testing::Values(
        EdgeCase{"no_headings_chain_follows", {{paragraph("p"), paragraph("q"), paragraph("r")}},
                 "p>q follows, q>r follows"},
        EdgeCase{"nested_section_follows_after_its_content",
                 {{heading(1, "A"), paragraph("p"), heading(2, "B"), paragraph("q")}},
                 "A>p contains, A>B contains, B>q contains, p>B follows"},
        EdgeCase{"sibling_sections_at_root",
                 {{heading(1, "H1"), paragraph("p1"), heading(1, "H2"), paragraph("p2")}},
                 "H1>p1 contains, H2>p2 contains, H1>H2 follows"},
        EdgeCase{"sibling_subsections",
                 {{heading(1, "A"), heading(2, "B"), paragraph("p"), heading(2, "C")}},
                 "A>B contains, B>p contains, A>C contains, B>C follows"},
        EdgeCase{"root_leaf_before_section", {{paragraph("p"), heading(1, "A"), paragraph("q")}},
                 "A>q contains, p>A follows"},
        EdgeCase{"section_spans_pages", {{heading(1, "A"), paragraph("p")}, {paragraph("q")}},
                 "A>p contains, A>q contains, p>q follows"},
        EdgeCase{"caption_between_figures_joins_both",
                 {{of(Tag::Figure, "f1"), kCaption, of(Tag::Figure, "f2")}},
                 "f1>c follows, c>f2 follows, f1>c caption-of, f2>c caption-of"},
        EdgeCase{"no_caption_edge_across_pages", {{kFigure}, {kCaption}}, "f>c follows"},
        EdgeCase{"caption_edges_per_page_after_walk",
                 {{heading(1, "A"), kFigure, kCaption}, {kCaption, kFigure}},
                 "A>f contains, A>c contains, f>c follows, A>c contains, c>c follows, "
                 "A>f contains, c>f follows, f>c caption-of, f>c caption-of"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(build_graph, nodes_and_caption_edges_follow_reading_order_not_creation_order) {
  DocumentBuilder builder;
  builder.page({kFigure, paragraph("p"), kCaption}, {0, 2, 1});
  std::string nodes;
  for (const GraphNode& node : build_graph(builder.document()).nodes) nodes += node.content;
  EXPECT_EQ(nodes, "fcp");
  EXPECT_EQ(edges_of(builder.document()), "f>c follows, c>p follows, f>c caption-of");
}

TEST(build_graph, tags_come_from_the_kind_without_duplicates) {
  DocumentBuilder builder;
  builder.page({heading(1, "h"), of(Tag::Table, "t"), of(Tag::Reference, "r"), paragraph("p")});
  std::vector<std::vector<std::string>> tags;
  for (const GraphNode& node : build_graph(builder.document()).nodes) tags.push_back(node.tags);
  EXPECT_EQ(tags,
            (std::vector<std::vector<std::string>>{{"section"}, {"table"}, {"citation"}, {}}));
}

TEST(build_graph, page_is_the_page_number_not_the_position) {
  DocumentBuilder builder;
  builder.page({paragraph("a")});
  builder.page({paragraph("b")});
  auto renumbered = std::make_shared<Page>(*builder.document().pages[1]);
  renumbered->number = 9;
  builder.document().pages[1] = renumbered;
  const Graph graph = build_graph(builder.document());
  ASSERT_EQ(graph.nodes.size(), 2u);
  EXPECT_EQ(std::pair(graph.nodes[0].page, graph.nodes[1].page), std::pair(1u, 9u));
}

TEST(render_graph_json, empty_document_has_meta_and_empty_arrays) {
  DocumentBuilder builder;
  EXPECT_EQ(render_graph_json(builder.document()).value(),
            R"({"meta":{"sourceSha256":"abc","sourceFilename":"f.pdf","schemaVersion":"0.1.1",)"
            R"("profile":"balanced"},"nodes":[],"edges":[]})");
}

TEST(render_graph_json, writes_the_whole_document_canonically) {
  DocumentBuilder builder;
  builder.document().extra = {{"b", "2"}, {"a", "1"}};
  auto title = std::make_shared<Node>(*builder.node(heading(2, "Intro")));
  title->bbox = BBox{0, std::numeric_limits<float>::quiet_NaN(), 595.27f, 841.89f};
  title->provenance = Provenance{ProvenanceSource::Vlm, "m", 0.9f, 4294967295u, 255};
  const NodePtr body = builder.node(paragraph(" text\n"));
  builder.add_page({title, body}, {title->id, body->id});
  const std::string expected =
      R"({"meta":{"sourceSha256":"abc","sourceFilename":"f.pdf","schemaVersion":"0.1.1",)"
      R"("profile":"balanced","extra":{"a":"1","b":"2"}},"nodes":[)"
      R"({"id":")" +
      id_text(1) +
      R"(","nodeType":"heading-2","content":"Intro",)"
      R"("bbox":{"x0":0.0,"y0":null,"x1":595.27,"y1":841.89},"page":1,)"
      R"("provenance":{"source":"vlm","model":"m","confidence":0.9,"latencyMs":4294967295,)"
      R"("retries":255},)"
      R"("tags":["section"]},)"
      R"({"id":")" +
      id_text(2) +
      R"(","nodeType":"paragraph","content":" text\n",)"
      R"("bbox":{"x0":10.0,"y0":20.0,"x1":30.0,"y1":40.0},"page":1,)"
      R"("provenance":{"source":"rust","confidence":1.0,"latencyMs":0,"retries":0},"tags":[]}],)"
      R"("edges":[{"from":")" +
      id_text(1) + R"(","to":")" + id_text(2) + R"(","relation":"contains"}]})";
  EXPECT_EQ(render_graph_json(builder.document()).value(), expected);
}

TEST(render_graph_json, refuses_text_that_is_not_utf8) {
  DocumentBuilder builder;
  builder.page({paragraph("ok"), paragraph("bad \xff byte")});
  const auto json = render_graph_json(builder.document());
  ASSERT_FALSE(json.has_value());
  EXPECT_EQ(json.error(), "string is not valid UTF-8 at byte 4");
}

struct EscapeCase {
  const char* name;
  std::string text;
  std::string expected;  // without the surrounding quotes
};

class append_json_string_escapes : public testing::TestWithParam<EscapeCase> {};

TEST_P(append_json_string_escapes, writes_expected_literal) {
  std::string out = "x";
  ASSERT_TRUE(append_json_string(out, GetParam().text).has_value());
  EXPECT_EQ(out, "x\"" + GetParam().expected + "\"");
}

INSTANTIATE_TEST_SUITE_P(
    cases, append_json_string_escapes,
    testing::Values(EscapeCase{"empty", "", ""},
                    EscapeCase{"quote_and_backslash", R"(say "C:\dir")", R"(say \"C:\\dir\")"},
                    EscapeCase{"named_controls", "\b\t\f\n\r", R"(\b\t\f\n\r)"},
                    EscapeCase{"other_controls_lowercase_hex", std::string("\x00\x1f\x0b", 3),
                               R"(\u0000\u001f\u000b)"},
                    EscapeCase{"delete_and_slash_copied", "\x7f/", "\x7f/"},
                    EscapeCase{"non_ascii_copied", "caf\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x98\x80",
                               "caf\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x98\x80"},
                    EscapeCase{"escape_after_non_ascii", "\xc3\xa9\n", "\xc3\xa9\\n"},
                    EscapeCase{"escapes_beyond_the_first_eight_bytes",
                               "abcdefgh\"ijklmnopqrstuvw\xc3\xa9xyz0123456789\x01",
                               "abcdefgh\\\"ijklmnopqrstuvw\xc3\xa9xyz0123456789\\u0001"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(append_json_string, rejects_ill_formed_utf8) {
  for (const std::string bad : {"\xff", "ab\xc3", "\xc0\x80", "\xed\xa0\x80", "\xe2\x82x",
                                "\xf4\x90\x80\x80", "\x80", "0123456789abcdef\xe2\x82"}) {
    std::string out;
    EXPECT_FALSE(append_json_string(out, bad).has_value()) << testing::PrintToString(bad);
  }
}

struct ProvenanceCase {
  const char* name;
  Provenance provenance;
  const char* expected;
};

class render_graph_json_provenance : public testing::TestWithParam<ProvenanceCase> {};

TEST_P(render_graph_json_provenance, model_only_when_present) {
  DocumentBuilder builder;
  auto node = std::make_shared<Node>(*builder.node(paragraph("p")));
  node->provenance = GetParam().provenance;
  builder.add_page({node}, {node->id});
  const std::string json = render_graph_json(builder.document()).value();
  EXPECT_NE(json.find(GetParam().expected), std::string::npos) << json;
}

INSTANTIATE_TEST_SUITE_P(
    cases, render_graph_json_provenance,
    testing::Values(
        ProvenanceCase{"empty_model_is_still_present",
                       Provenance{ProvenanceSource::Rust, "", 1.0f, 0, 0},
                       R"("provenance":{"source":"rust","model":"","confidence":1.0,)"},
        ProvenanceCase{
            "non_finite_confidence",
            Provenance{ProvenanceSource::Rust, {}, std::numeric_limits<float>::infinity(), 0, 0},
            R"("confidence":null,)"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorlin_core
