#pragma once
// GitHub-flavoured Markdown of a document, walked through its outline: heading lines, one block
// per node by kind (headers, footers and page numbers omitted), then an optional numbered
// "## References" list. Never more than one empty line in a row; a non-empty text ends in exactly
// one newline, an empty document gives "". Cannot fail; content is copied, never escaped.

#include <cstddef>
#include <string>
#include <utility>

#include "vorlin_core/model/document.h"

namespace vorlin_core {

// How a figure node is written.
struct FigureMode {
  enum class Kind { DataUri, Linked, Placeholder };
  Kind kind = Kind::Placeholder;
  std::string directory;  // Linked only: where the figure files live

  // "![alt](data:image/png;base64,...)": a literal placeholder target, no image data.
  static FigureMode data_uri() { return {Kind::DataUri, {}}; }
  // "![alt](<directory>/<node id>.png)", the file name the figure output writes.
  static FigureMode linked(std::string directory) { return {Kind::Linked, std::move(directory)}; }
  // "_figure: alt_".
  static FigureMode placeholder() { return {Kind::Placeholder, {}}; }
};

// The defaults are what the Python `to_markdown` uses.
struct MarkdownOptions {
  FigureMode figure_mode = FigureMode::placeholder();
  // An equation of at most this many words is written inline; 0 means always display.
  std::size_t inline_equation_max_words = 0;
  bool references_section = true;
};

std::string render_markdown(const Document& document, const MarkdownOptions& options = {});

// One node's block as render_markdown writes it, without the newlines that end it; "" for the
// kinds the Markdown omits.
std::string render_node_markdown(const Node& node, const MarkdownOptions& options = {});

}  // namespace vorlin_core
