#include "vorlin_core/model/node_kind.h"

namespace vorlin_core {

std::string type_string(NodeKind kind) {
  using Tag = NodeKind::Tag;
  switch (kind.tag) {
    case Tag::Heading: return "heading-" + std::to_string(kind.level);
    case Tag::Paragraph: return "paragraph";
    case Tag::List: return "list";
    case Tag::Table: return "table";
    case Tag::Figure: return "figure";
    case Tag::Caption: return "caption";
    case Tag::Equation: return "equation";
    case Tag::CodeListing: return "code-listing";
    case Tag::Footnote: return "footnote";
    case Tag::Reference: return "reference";
    case Tag::Header: return "header";
    case Tag::Footer: return "footer";
    case Tag::PageNumber: return "page-number";
  }
  return "paragraph";
}

std::vector<std::string_view> kind_tags(NodeKind kind) {
  using Tag = NodeKind::Tag;
  switch (kind.tag) {
    case Tag::Heading: return {"section"};
    case Tag::Table: return {"table"};
    case Tag::Figure: return {"figure"};
    case Tag::Equation: return {"equation"};
    case Tag::Reference: return {"citation"};
    default: return {};
  }
}

}  // namespace vorlin_core
