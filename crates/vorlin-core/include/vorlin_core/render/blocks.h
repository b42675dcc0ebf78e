#pragma once
// The document as retrieval blocks: every node the Markdown shows, in the Markdown's order, with
// its own Markdown text, its page and the headings of the sections around it. Cannot fail.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vorlin_core/model/document.h"

namespace vorlin_core {

struct Block {
  NodePtr node;
  std::string markdown;     // as render_node_markdown writes it, never empty
  std::uint32_t page = 0;   // 1-based; 0 when no page lists the node
  std::size_t section = 0;  // index into Blocks::sections
};

struct Blocks {
  // Per section, the heading texts from the outermost in; a heading's block belongs to the
  // section it opens. Section 0 is the text before any heading, with no headings.
  std::vector<std::vector<std::string>> sections;
  std::vector<Block> blocks;
};

Blocks document_blocks(const Document& document);

}  // namespace vorlin_core
