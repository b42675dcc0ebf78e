#pragma once
// The 13 node kinds, their wire type strings and their tags.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlin_core {

struct NodeKind {
  enum class Tag : std::uint8_t {
    Heading,
    Paragraph,
    List,
    Table,
    Figure,
    Caption,
    Equation,
    CodeListing,
    Footnote,
    Reference,
    Header,
    Footer,
    PageNumber,
  };
  Tag tag = Tag::Paragraph;
  std::uint8_t level = 0;  // headings only

  static NodeKind heading(std::uint8_t level) { return NodeKind{Tag::Heading, level}; }
  static NodeKind of(Tag tag) { return NodeKind{tag, 0}; }
  bool is_heading() const { return tag == Tag::Heading; }
  bool operator==(const NodeKind&) const = default;
};

// "heading-<level>", "paragraph", "code-listing", ...
std::string type_string(NodeKind kind);

// One tag for Heading, Table, Figure, Equation and Reference; none otherwise.
std::vector<std::string_view> kind_tags(NodeKind kind);

}  // namespace vorlin_core
