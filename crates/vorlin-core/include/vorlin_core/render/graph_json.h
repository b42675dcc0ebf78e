#pragma once
// The canonical graph of a document (nodes in outline order, contains /
// follows / caption-of edges) and its compact JSON text.

#include <expected>
#include <string>

#include "vorlin_core/model/document.h"

namespace vorlin_core {

struct Graph;  // defined by the graph writer

// The document's graph as compact JSON text; the error is the writer's own
// text (the caller prefixes "graph serialization failed: ").
std::expected<std::string, std::string> render_graph_json(const Document& document);

}  // namespace vorlin_core
