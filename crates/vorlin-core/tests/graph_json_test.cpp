#include "vorlin_core/render/graph_json.h"

#include <gtest/gtest.h>

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

struct EdgeCase {
  const char* name;
  Pages pages;
  const char* edges;  // "from>to relation, ...", nodes named by content
  ReadingOrders reading = {};
};

TEST(build_graph, edges_in_walk_order) {
  // clang-format off
  const std::vector<EdgeCase> cases = {
      EdgeCase{"root_leaves_and_sections",
               {{paragraph("p"), paragraph("q"), heading(1, "A"), paragraph("r"), heading(1, "B"),
                 paragraph("s")}},
               "p>q follows, A>r contains, q>A follows, B>s contains, A>B follows"},
      EdgeCase{"nested_section_follows_after_its_content",
               {{heading(1, "A"), paragraph("p"), heading(2, "B"), paragraph("q"),
                 heading(2, "C")}},
               "A>p contains, A>B contains, B>q contains, p>B follows, A>C contains, "
               "B>C follows"},
      // Captions join figures on either side, within a page only, after the walk's edges.
      EdgeCase{"captions_beside_figures",
               {{of(Tag::Figure, "f1"), of(Tag::Caption, "c"), of(Tag::Figure, "f2")},
                {of(Tag::Caption, "c2")}},
               "f1>c follows, c>f2 follows, f2>c2 follows, f1>c caption-of, f2>c caption-of"},
      // Reading order, not creation order; an id without a node is passed over.
      EdgeCase{"reading_order_decides",
               {{of(Tag::Figure, "f"), paragraph("p"), of(Tag::Caption, "c")}},
               "f>c follows, c>p follows, f>c caption-of", {{0, 3, 2, 1}}}};
  // clang-format on
  for (const EdgeCase& c : cases) {
    const Graph graph = build_graph(document_of(c.pages, c.reading));
    std::unordered_map<NodeId, std::string> names;
    for (const GraphNode& node : graph.nodes) names[node.id] = node.content;
    std::string edges;
    for (const Edge& edge : graph.edges) {
      edges += (edges.empty() ? "" : ", ") + names[edge.from] + ">" + names[edge.to] + " " +
               std::string(wire_string(edge.relation));
    }
    EXPECT_EQ(edges, c.edges) << c.name;
  }
}

// An empty document has meta and empty arrays.
TEST(render_graph_json, writes_documents_canonically) {
  EXPECT_EQ(render_graph_json(document_of({})).value(),
            R"({"meta":{"sourceSha256":"abc","sourceFilename":"f.pdf","schemaVersion":"0.1.1",)"
            R"("profile":"balanced"},"nodes":[],"edges":[]})");
  NodeDraft title = heading(2, "Intro");
  title.bbox = BBox{0, std::numeric_limits<float>::quiet_NaN(), 595.27f, 841.89f};
  title.provenance = Provenance{ProvenanceSource::Vlm, "", 0.9f, 4294967295u, 255};
  Document document = document_of({{title}, {paragraph(" text\n")}});
  document.extra = {{"b", "2"}, {"a", "1"}};
  const std::string first = NodeId{0, 1}.to_string(), second = NodeId{0, 2}.to_string();
  EXPECT_EQ(
      render_graph_json(document).value(),
      R"({"meta":{"sourceSha256":"abc","sourceFilename":"f.pdf","schemaVersion":"0.1.1",)"
      R"("profile":"balanced","extra":{"a":"1","b":"2"}},"nodes":[{"id":")" +
          first +
          R"(","nodeType":"heading-2","content":"Intro",)"
          R"("bbox":{"x0":0.0,"y0":null,"x1":595.27,"y1":841.89},"page":1,)"
          R"("provenance":{"source":"vlm","model":"","confidence":0.9,"latencyMs":4294967295,)"
          R"("retries":255},"tags":["section"]},{"id":")" +
          second +
          R"(","nodeType":"paragraph","content":" text\n",)"
          R"("bbox":{"x0":10.0,"y0":20.0,"x1":30.0,"y1":40.0},"page":2,)"
          R"("provenance":{"source":"rust","confidence":1.0,"latencyMs":0,"retries":0},)"
          R"("tags":[]}],)"
          R"("edges":[{"from":")" +
          first + R"(","to":")" + second + R"(","relation":"contains"}]})");
}

// The graph names the byte of the string where the text stops being UTF-8.
TEST(append_json_string, rejects_ill_formed_utf8) {
  for (const std::string bad :
       {"\xff", "ab\xc3", "\xc0\x80", "\xed\xa0\x80", "\xe2\x82x", "\xf4\x90\x80\x80", "\x80",
        "abc\xffwxyz", "0123456789abcdef\xe2\x82"}) {
    std::string out;
    EXPECT_FALSE(append_json_string(out, bad).has_value()) << testing::PrintToString(bad);
  }
  const auto json = render_graph_json(document_of({{paragraph("ok"), paragraph("bad \xff byte")}}));
  ASSERT_FALSE(json.has_value());
  EXPECT_EQ(json.error(), "string is not valid UTF-8 at byte 4");
}

// Bytes that need attention, and plain bytes beside them, at every position of the eight-byte
// words the fast path skips, alone and two in one word.
TEST(append_json_string, escapes_at_every_position_of_a_word) {
  // clang-format off
  const std::vector<std::pair<std::string, std::string>> bytes = {
      {"\"", "\\\""}, {"\\", "\\\\"}, {"\n", "\\n"}, {"\t", "\\t"},
      {std::string(1, '\0'), "\\u0000"}, {"\x1f", "\\u001f"}, {"\x7f~ ", "\x7f~ "},
      {"\xc3\xa9", "\xc3\xa9"}, {"\xe2\x80\x94", "\xe2\x80\x94"},
      {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"}};
  // clang-format on
  for (std::size_t at = 0; at < 16; ++at) {
    const std::string pad(at, 'x');
    for (const auto& [a, a_out] : bytes) {
      for (const auto& [b, b_out] : bytes) {
        std::string out;
        ASSERT_TRUE(append_json_string(out, pad + a + "yz" + b + pad).has_value());
        ASSERT_EQ(out, "\"" + pad + a_out + "yz" + b_out + pad + "\"") << at << " " << a_out;
      }
    }
  }
}

}  // namespace
}  // namespace vorlin_core
