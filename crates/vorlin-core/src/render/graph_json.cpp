#include "vorlin_core/render/graph_json.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "vorlin_core/render/json_float.h"
#include "vorlin_core/render/json_string.h"

namespace vorlin_core {
namespace {

constexpr std::size_t kInitialCapacity = 128;

class JsonWriter {
 public:
  JsonWriter() { out_.reserve(kInitialCapacity); }

  // Keys and punctuation are fixed ASCII, written as is; `text` goes through the escaper.
  void raw(std::string_view text) { out_.append(text); }

  void string(std::string_view text) {
    if (!error_.empty()) return;
    if (auto written = append_json_string(out_, text); !written) error_ = written.error();
  }

  void id(const NodeId& id) {
    out_.push_back('"');
    id.append_to(out_);
    out_.push_back('"');
  }

  void number(std::uint64_t value) {
    char text[24];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    out_.append(text, end);
  }

  void number(float value) { append_json_float(out_, value); }

  std::expected<std::string, std::string> finish() && {
    if (!error_.empty()) return std::unexpected(std::move(error_));
    return std::move(out_);
  }

 private:
  std::string out_;
  std::string error_;  // the first failure; later strings are skipped
};

void write_meta(JsonWriter& w, const GraphMeta& meta) {
  w.raw("{\"sourceSha256\":");
  w.string(meta.source_sha256);
  w.raw(",\"sourceFilename\":");
  w.string(meta.source_filename);
  w.raw(",\"schemaVersion\":");
  w.string(meta.schema_version);
  w.raw(",\"profile\":");
  w.string(meta.profile);
  if (!meta.extra.empty()) {
    // std::map already iterates in ascending key bytes.
    w.raw(",\"extra\":{");
    bool first = true;
    for (const auto& [key, value] : meta.extra) {
      if (!first) w.raw(",");
      first = false;
      w.string(key);
      w.raw(":");
      w.string(value);
    }
    w.raw("}");
  }
  w.raw("}");
}

void write_provenance(JsonWriter& w, const Provenance& provenance) {
  w.raw("{\"source\":\"");
  w.raw(wire_string(provenance.source));
  w.raw("\"");
  if (provenance.model) {
    w.raw(",\"model\":");
    w.string(*provenance.model);
  }
  w.raw(",\"confidence\":");
  w.number(provenance.confidence);
  w.raw(",\"latencyMs\":");
  w.number(std::uint64_t{provenance.latency_ms});
  w.raw(",\"retries\":");
  w.number(std::uint64_t{provenance.retries});
  w.raw("}");
}

void write_node(JsonWriter& w, const GraphNode& node) {
  w.raw("{\"id\":");
  w.id(node.id);
  w.raw(",\"nodeType\":");
  w.string(node.node_type);
  w.raw(",\"content\":");
  w.string(node.content);
  w.raw(",\"bbox\":{\"x0\":");
  w.number(node.bbox.x0);
  w.raw(",\"y0\":");
  w.number(node.bbox.y0);
  w.raw(",\"x1\":");
  w.number(node.bbox.x1);
  w.raw(",\"y1\":");
  w.number(node.bbox.y1);
  w.raw("},\"page\":");
  w.number(std::uint64_t{node.page});
  w.raw(",\"provenance\":");
  write_provenance(w, node.provenance);
  w.raw(",\"tags\":[");
  for (std::size_t i = 0; i < node.tags.size(); ++i) {
    if (i != 0) w.raw(",");
    w.string(node.tags[i]);
  }
  w.raw("]");
  if (!node.cells.empty()) {
    w.raw(",\"cells\":[");
    for (std::size_t r = 0; r < node.cells.size(); ++r) {
      w.raw(r == 0 ? "[" : ",[");
      for (std::size_t c = 0; c < node.cells[r].size(); ++c) {
        if (c != 0) w.raw(",");
        w.string(node.cells[r][c]);
      }
      w.raw("]");
    }
    w.raw("]");
  }
  if (!node.item_depths.empty()) {
    w.raw(",\"itemDepths\":[");
    for (std::size_t i = 0; i < node.item_depths.size(); ++i) {
      if (i != 0) w.raw(",");
      w.number(std::uint64_t{node.item_depths[i]});
    }
    w.raw("]");
  }
  w.raw("}");
}

void write_edge(JsonWriter& w, const Edge& edge) {
  w.raw("{\"from\":");
  w.id(edge.from);
  w.raw(",\"to\":");
  w.id(edge.to);
  w.raw(",\"relation\":\"");
  w.raw(wire_string(edge.relation));
  w.raw("\"}");
}

}  // namespace

std::expected<std::string, std::string> write_graph_json(const Graph& graph) {
  JsonWriter w;
  w.raw("{\"meta\":");
  write_meta(w, graph.meta);
  w.raw(",\"nodes\":[");
  for (std::size_t i = 0; i < graph.nodes.size(); ++i) {
    if (i != 0) w.raw(",");
    write_node(w, graph.nodes[i]);
  }
  w.raw("],\"edges\":[");
  for (std::size_t i = 0; i < graph.edges.size(); ++i) {
    if (i != 0) w.raw(",");
    write_edge(w, graph.edges[i]);
  }
  w.raw("]}");
  return std::move(w).finish();
}

std::expected<std::string, std::string> render_graph_json(const Document& document) {
  return write_graph_json(build_graph(document));
}

}  // namespace vorlin_core
