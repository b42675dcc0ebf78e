#include "vorlin_core/render/markdown.h"

#include <gtest/gtest.h>

#include <string>

#include "support/render_documents.h"

namespace vorlin_core {
namespace {

using namespace testing_support;
using Tag = NodeKind::Tag;

struct MarkdownCase {
  const char* name;
  Pages pages;
  std::string expected;
  MarkdownOptions options = {};
  ReadingOrders reading = {};
};

TEST(render_markdown, blocks_figures_and_equations) {
  // clang-format off
  const std::vector<MarkdownCase> cases = {
      MarkdownCase{"heading_levels_clamped",
                   {{heading(0, "Zero"), heading(9, "Nine"), heading(6, "Six")}},
                   "# Zero\n\n###### Nine\n\n###### Six\n"},
      MarkdownCase{"content_after_nested_section_stays_in_order",
                   {{heading(1, " A "), heading(2, "B"), paragraph("p")}, {heading(1, "C")}},
                   "# A\n\n## B\n\np\n\n# C\n"},
      // Markers need their space; blank lines and a "\r" before "\n" are dropped.
      MarkdownCase{"list_lines",
                   {{of(Tag::List, "a\n- b\n\n* c\r\n-\n-x\n  *  y  \n"), paragraph("p")}},
                   "- a\n- b\n* c\n- -\n- -x\n*  y\n\np\n"},
      // Depths count content lines, the skipped blank one included.
      MarkdownCase{"nested_list_items_set_in",
                   {{{NodeKind::of(Tag::List), "1. a\n\nb\nc\nd", {}, {}, {0, 9, 1, 2, 0}}}},
                   "- 1. a\n  - b\n    - c\n- d\n"},
      MarkdownCase{"table_and_code_keep_leading_space",
                   {{of(Tag::Table, "  | a |\n|---|  \n"), of(Tag::CodeListing, "  x = 1\n\n")}},
                   "  | a |\n|---|\n\n```\n  x = 1\n```\n"},
      MarkdownCase{"footnote_caption_reference_and_no_escaping",
                   {{of(Tag::Footnote, " note "), of(Tag::Caption, "*cap*"),
                     of(Tag::Reference, "[1] x_y")}},
                   "> note\n\n*cap*\n\n[1] x_y\n\n## References\n\n1. [1] x_y\n"},
      MarkdownCase{"omitted_kinds_leave_no_blank_lines",
                   {{paragraph("p1"), of(Tag::Header, "h"), of(Tag::Footer, "f"),
                     of(Tag::PageNumber, "2"), paragraph("p2")}}, "p1\n\np2\n"},
      MarkdownCase{"runs_of_newlines_end_at_other_bytes", {{paragraph("a\n\n\n\nb\n\n \n\nc")}},
                   "a\n\nb\n\n \n\nc\n"},
      // Zero width space is not white space, nor are bytes that are not well-formed UTF-8.
      MarkdownCase{"unicode_white_space_trimmed",
                   {{paragraph("\xc2\xa0\xe3\x80\x80\xe2\x80\x8btext\xe2\x80\x83 \r\xc2\x85"),
                     paragraph(" \xc3"), paragraph("\xa0 x")}},
                   "\xe2\x80\x8btext\n\n\xc3\n\n\xa0 x\n"},
      // The list follows pages and creation order, even for a reference missing from the
      // reading order.
      MarkdownCase{"references_in_page_and_creation_order",
                   {{of(Tag::Reference, " Knuth 1984 "), paragraph("body")},
                    {of(Tag::Reference, "Lamport 1994"), of(Tag::Reference, "Hidden 2000")}},
                   "body\n\nKnuth 1984\n\nLamport 1994\n\n"
                   "## References\n\n1. Knuth 1984\n2. Lamport 1994\n3. Hidden 2000\n",
                   {}, {{1, 0}, {0}}},
      MarkdownCase{"references_section_turned_off", {{of(Tag::Reference, "Knuth 1984")}},
                   "Knuth 1984\n", {.references_section = false}},
      MarkdownCase{"page_without_reading_order", {{paragraph("p"), heading(1, "h")}}, "", {},
                   {{}}},
      MarkdownCase{"placeholders_and_display_by_default",
                   {{of(Tag::Figure, " "), of(Tag::Figure, "Chart"), of(Tag::Equation, "x")}},
                   "_figure: figure_\n\n_figure: Chart_\n\n$$\nx\n$$\n"},
      MarkdownCase{"data_uri_figure", {{of(Tag::Figure, "Chart")}},
                   "![Chart](data:image/png;base64,...)\n",
                   {.figure_mode = FigureMode::data_uri()}},
      MarkdownCase{"linked_empty_figure", {{of(Tag::Figure, "")}},
                   "![figure](media/" + NodeId{0, 1}.to_string() + ".png)\n",
                   {.figure_mode = FigureMode::linked("media")}},
      // An empty equation inline would be a lone "$$".
      MarkdownCase{"inline_up_to_the_word_limit",
                   {{of(Tag::Equation, " a + b "), of(Tag::Equation, " ")}},
                   "$a + b$\n\n$$\n\n$$\n", {.inline_equation_max_words = 3}},
      MarkdownCase{"display_past_the_word_limit",
                   {{of(Tag::Equation, "a + b"),
                     of(Tag::Equation, "a\xe3\x80\x80+\xe2\x80\x83" "b")}},
                   "$$\na + b\n$$\n\n$$\na\xe3\x80\x80+\xe2\x80\x83" "b\n$$\n",
                   {.inline_equation_max_words = 2}}};
  // clang-format on
  for (const MarkdownCase& c : cases) {
    EXPECT_EQ(render_markdown(document_of(c.pages, c.reading), c.options), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace vorlin_core
