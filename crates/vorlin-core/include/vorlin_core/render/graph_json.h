#pragma once
// The canonical compact JSON text of a document's graph: fixed key order, no whitespace
// outside strings, no trailing newline; the same graph always gives the same bytes.

#include <expected>
#include <string>

#include "vorlin_core/model/document.h"
#include "vorlin_core/render/graph.h"

namespace vorlin_core {

// The error is the writer's own text (the caller prefixes "graph serialization failed: "); the
// only failure is a string that is not well-formed UTF-8.
std::expected<std::string, std::string> write_graph_json(const Graph& graph);

// build_graph followed by write_graph_json.
std::expected<std::string, std::string> render_graph_json(const Document& document);

}  // namespace vorlin_core
