#include "vorlin_core/render/markdown.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <span>
#include <string_view>

#include "vorlin_core/model/outline.h"
#include "vorlin_core/render/newlines.h"
#include "vorlin_core/render/white_space.h"

namespace vorlin_core {
namespace {

constexpr std::size_t kReservePerNode = 16;

void append_all(std::string& out, std::initializer_list<std::string_view> parts) {
  for (std::string_view part : parts) out.append(part);
}

void append_heading_line(std::string& out, std::uint8_t level, std::string_view content) {
  const int hashes = std::clamp<int>(level, 1, 6);
  out.append(static_cast<std::size_t>(hashes), '#');
  append_all(out, {" ", trim_white_space(content), "\n\n"});
}

// Spaces a nested item is set in per level: past its parent's "- ", so Markdown nests it.
constexpr std::size_t kNestIndent = 2;

// `depths`, when not empty, gives each line of `content` its nesting level.
void append_list(std::string& out, std::string_view content,
                 std::span<const std::uint8_t> depths) {
  // Lines end at "\n" with one optional "\r"; a trailing newline opens no further line.
  std::size_t start = 0;
  for (std::size_t index = 0; start < content.size(); ++index) {
    std::size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    start = end + 1;
    line = trim_white_space(line);
    if (line.empty()) continue;
    if (index < depths.size()) out.append(kNestIndent * depths[index], ' ');
    if (!line.starts_with("- ") && !line.starts_with("* ")) out.append("- ");
    append_all(out, {line, "\n"});
  }
  out.push_back('\n');
}

void append_figure(std::string& out, const Node& node, const FigureMode& mode) {
  std::string_view alt = trim_white_space(node.content);
  if (alt.empty()) alt = "figure";
  switch (mode.kind) {
    case FigureMode::Kind::DataUri:
      append_all(out, {"![", alt, "](data:image/png;base64,...)\n\n"});
      return;
    case FigureMode::Kind::Linked:
      append_all(out, {"![", alt, "](", mode.directory, "/", node.id.to_string(), ".png)\n\n"});
      return;
    case FigureMode::Kind::Placeholder:
      append_all(out, {"_figure: ", alt, "_\n\n"});
      return;
  }
}

void append_equation(std::string& out, std::string_view content, std::size_t inline_max_words) {
  const std::string_view math = trim_white_space(content);
  // An empty equation written inline would be a lone "$$", which opens display math and swallows
  // the rest of the document; it takes the display form instead.
  const std::size_t words = count_words(math);
  if (inline_max_words != 0 && words != 0 && words <= inline_max_words) {
    append_all(out, {"$", math, "$\n\n"});
  } else {
    append_all(out, {"$$\n", math, "\n$$\n\n"});
  }
}

class MarkdownWriter {
 public:
  MarkdownWriter(std::string& out, const MarkdownOptions& options) : out_(out), options_(options) {}

  void section(const OutlineSection& section) {
    if (section.heading) append_heading_line(out_, section.level, section.heading->content);
    for (const OutlineItem& item : section.items) {
      if (const NodePtr* leaf = item.leaf()) {
        node(**leaf);
      } else {
        this->section(*item.section());
      }
    }
  }

  void node(const Node& node) {
    using Tag = NodeKind::Tag;
    switch (node.kind.tag) {
      case Tag::Heading:
        append_heading_line(out_, node.kind.level, node.content);
        return;
      case Tag::Paragraph:
      case Tag::Caption:
      case Tag::Reference:
        append_all(out_, {trim_white_space(node.content), "\n\n"});
        return;
      case Tag::List:
        append_list(out_, node.content, node.item_depths);
        return;
      case Tag::Table:
        append_all(out_, {trim_white_space_end(node.content), "\n\n"});
        return;
      case Tag::Figure:
        append_figure(out_, node, options_.figure_mode);
        return;
      case Tag::Equation:
        append_equation(out_, node.content, options_.inline_equation_max_words);
        return;
      case Tag::CodeListing:
        append_all(out_, {"```\n", trim_white_space_end(node.content), "\n```\n\n"});
        return;
      case Tag::Footnote:
        append_all(out_, {"> ", trim_white_space(node.content), "\n\n"});
        return;
      case Tag::Header:
      case Tag::Footer:
      case Tag::PageNumber:
        return;
    }
  }

 private:
  std::string& out_;
  const MarkdownOptions& options_;
};

// Pages in order and, within a page, creation order: a reference missing from the reading order
// is still listed.
void append_references(std::string& out, const Document& document) {
  std::size_t number = 0;
  for (const PagePtr& page : document.pages) {
    for (const NodePtr& node : page->nodes) {
      if (node->kind.tag != NodeKind::Tag::Reference) continue;
      if (number == 0) out.append("## References\n\n");
      char digits[24];
      const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, ++number);
      out.append(digits, end);
      append_all(out, {". ", trim_white_space(node->content), "\n"});
    }
  }
  if (number != 0) out.push_back('\n');
}

std::size_t reserve_size(const Document& document) {
  std::size_t size = 0;
  for (const PagePtr& page : document.pages) {
    for (const NodePtr& node : page->nodes) size += node->content.size() + kReservePerNode;
  }
  return size;
}

}  // namespace

std::string render_markdown(const Document& document, const MarkdownOptions& options) {
  const Outline outline = build_outline(document);
  std::string out;
  out.reserve(reserve_size(document));
  MarkdownWriter(out, options).section(outline);
  if (options.references_section) append_references(out, document);
  return normalise_newlines(out);
}

std::string render_node_markdown(const Node& node, const MarkdownOptions& options) {
  std::string out;
  MarkdownWriter(out, options).node(node);
  out = normalise_newlines(out);
  while (out.ends_with('\n')) out.pop_back();
  return out;
}

}  // namespace vorlin_core
