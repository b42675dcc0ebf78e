#include "vorlin_core/render/markdown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/render_documents.h"

namespace vorlin_core {
namespace {

using namespace testing_support;
using Tag = NodeKind::Tag;

struct MarkdownCase {
  const char* name;
  std::vector<std::vector<NodeDraft>> pages;
  std::string expected;
  MarkdownOptions options = {};
};

class render_markdown_text : public testing::TestWithParam<MarkdownCase> {};

TEST_P(render_markdown_text, matches_expected_text) {
  DocumentBuilder builder;
  for (const auto& page : GetParam().pages) builder.page(page);
  EXPECT_EQ(render_markdown(builder.document(), GetParam().options), GetParam().expected);
}

const std::string kFirstId = NodeId{0, 1}.to_string();

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    blocks, render_markdown_text,
    testing::Values(
        MarkdownCase{"no_pages", {}, ""},
        MarkdownCase{"only_omitted_kinds",
                     {{of(Tag::Header, "h"), of(Tag::PageNumber, "1"), of(Tag::Footer, "f")}}, ""},
        MarkdownCase{"heading_levels_clamped",
                     {{heading(0, "Zero"), heading(9, "Nine"), heading(6, "Six")}},
                     "# Zero\n\n###### Nine\n\n###### Six\n"},
        MarkdownCase{"content_after_nested_section_stays_in_order",
                     {{heading(1, " A "), heading(2, "B"), paragraph("p")}, {heading(1, "C")}},
                     "# A\n\n## B\n\np\n\n# C\n"},
        MarkdownCase{"list_lines_with_crlf",
                     {{of(Tag::List, "a\n- b\n\n* c\r\n"), paragraph("after")}},
                     "- a\n- b\n* c\n\nafter\n"},
        MarkdownCase{"list_markers_need_a_space", {{of(Tag::List, "-\n-x\n  *  y  \n")}},
                     "- -\n- -x\n*  y\n"},
        // The list's closing newline is written even without items.
        MarkdownCase{"list_without_items", {{of(Tag::List, "\n \r\n"), paragraph("p")}}, "\np\n"},
        MarkdownCase{"table_keeps_leading_space",
                     {{of(Tag::Table, "  | a |\n|---|  \n"), paragraph("p")}},
                     "  | a |\n|---|\n\np\n"},
        MarkdownCase{"code_fence", {{of(Tag::CodeListing, "  x = 1\n\n"), paragraph("p")}},
                     "```\n  x = 1\n```\n\np\n"},
        MarkdownCase{"footnote_caption_reference_and_no_escaping",
                     {{of(Tag::Footnote, " note "), of(Tag::Caption, "*cap*"),
                       of(Tag::Reference, "[1] x_y")}},
                     "> note\n\n*cap*\n\n[1] x_y\n\n## References\n\n1. [1] x_y\n"},
        MarkdownCase{"omitted_kinds_leave_no_blank_lines",
                     {{paragraph("p1"), of(Tag::Header, "h"), of(Tag::Footer, "f"),
                       of(Tag::PageNumber, "2"), paragraph("p2")}}, "p1\n\np2\n"},
        MarkdownCase{"three_blank_lines_in_paragraph", {{paragraph("a\n\n\n\nb"), paragraph("c")}},
                     "a\n\nb\n\nc\n"},
        MarkdownCase{"space_breaks_a_run_of_newlines", {{paragraph("a\n\n \n\nb")}},
                     "a\n\n \n\nb\n"},
        MarkdownCase{"unicode_white_space_trimmed",
                     {{paragraph("\xc2\xa0\xe3\x80\x80text\xe2\x80\x83 \xc2\x85")}}, "text\n"},
        MarkdownCase{"zero_width_space_is_not_white_space",
                     {{paragraph("\xe2\x80\x8btext\xe2\x80\x8b ")}},
                     "\xe2\x80\x8btext\xe2\x80\x8b\n"},
        MarkdownCase{"ill_formed_bytes_are_not_trimmed",
                     {{paragraph(" \xc3"), paragraph("\xa0 x")}},
                     "\xc3\n\n\xa0 x\n"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    figures_and_equations, render_markdown_text,
    testing::Values(
        MarkdownCase{"placeholder_empty_figure", {{of(Tag::Figure, " ")}}, "_figure: figure_\n"},
        MarkdownCase{"placeholder_named_figure", {{of(Tag::Figure, "Chart")}}, "_figure: Chart_\n"},
        MarkdownCase{"data_uri_figure", {{of(Tag::Figure, "Chart")}},
                     "![Chart](data:image/png;base64,...)\n",
                     {.figure_mode = FigureMode::data_uri()}},
        MarkdownCase{"linked_empty_figure", {{of(Tag::Figure, "")}},
                     "![figure](media/" + kFirstId + ".png)\n",
                     {.figure_mode = FigureMode::linked("media")}},
        MarkdownCase{"display_equation_by_default", {{of(Tag::Equation, "x = 1")}},
                     "$$\nx = 1\n$$\n"},
        MarkdownCase{"three_words_inline_at_three", {{of(Tag::Equation, " a + b ")}}, "$a + b$\n",
                     {.inline_equation_max_words = 3}},
        MarkdownCase{"three_words_display_at_two", {{of(Tag::Equation, "a + b")}},
                     "$$\na + b\n$$\n", {.inline_equation_max_words = 2}},
        MarkdownCase{"unicode_space_separates_words",
                     {{of(Tag::Equation, "a\xe3\x80\x80+\xe2\x80\x83" "b")}},
                     "$$\na\xe3\x80\x80+\xe2\x80\x83" "b\n$$\n", {.inline_equation_max_words = 2}},
        MarkdownCase{"empty_equation_never_inline", {{of(Tag::Equation, " "), paragraph("p")}},
                     "$$\n\n$$\n\np\n", {.inline_equation_max_words = 3}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(render_markdown, references_listed_in_page_and_creation_order) {
  DocumentBuilder builder;
  // Page 1 reads its reference after the paragraph, but the list follows creation order; the
  // second reference of page 2 is not in the reading order and shows up only in the list.
  builder.page({of(Tag::Reference, " Knuth 1984 "), paragraph("body")}, {1, 0});
  builder.page({of(Tag::Reference, "Lamport 1994"), of(Tag::Reference, "Hidden 2000")}, {0});
  EXPECT_EQ(render_markdown(builder.document()),
            "body\n\nKnuth 1984\n\nLamport 1994\n\n"
            "## References\n\n1. Knuth 1984\n2. Lamport 1994\n3. Hidden 2000\n");
}

TEST(render_markdown, references_section_can_be_turned_off) {
  DocumentBuilder builder;
  builder.page({of(Tag::Reference, "Knuth 1984")});
  EXPECT_EQ(render_markdown(builder.document(), {.references_section = false}), "Knuth 1984\n");
}

TEST(render_markdown, page_without_reading_order_renders_empty) {
  DocumentBuilder builder;
  builder.page({paragraph("p"), heading(1, "h")}, {});
  EXPECT_EQ(render_markdown(builder.document()), "");
}

}  // namespace
}  // namespace vorlin_core
