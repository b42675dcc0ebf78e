"""What the enhanced layout reads from pages as their authors set them: turned text, page numbers
where LaTeX puts them, footnotes."""

import pytest

import pdf_factory as pdfs
import vorlin_reader


@pytest.mark.parametrize("how", ["rotate", "sideways"])
def test_text_running_along_the_page_reads_upright(pdfium, how):
    expected = f"# {pdfs.TITLE}\n\n{pdfs.paragraph_text(pdfs.LEFT_WORDS[0])}\n"
    assert vorlin_reader.parse_bytes(pdfs.sideways_page(how)).to_markdown() == expected


def test_latex_page_numbers_and_footnotes_leave_the_text(pdfium):
    paragraphs = vorlin_reader.parse_bytes(pdfs.article()).to_markdown().strip().split("\n\n")
    assert f"> {pdfs.FOOTNOTE}" in paragraphs
    body = [p for p in paragraphs if not p.startswith(">")]
    assert body == [pdfs.paragraph_text(f"{word}{page}", repeat=3)
                    for page, word in enumerate(pdfs.LEFT_WORDS[:3], start=1)]


def test_bookmarks_name_headings_and_their_levels(pdfium):
    # The outline turns the geometric levels over; the title before it keeps its own, and without
    # use_outline the geometry alone decides.
    outline = [(1, "1.1 Basil details"), (2, "Amber section")]
    heads = {use: [line for line in vorlin_reader.parse_bytes(pdfs.report(outline=outline),
                                                              use_outline=use).to_markdown()
                   .splitlines() if line.startswith("#")] for use in (False, True)}
    assert heads[False][1:3] == ["## 1 Amber section", "### 1.1 Basil details"]
    assert heads[True] == [f"# {pdfs.TITLE}", "## 1 Amber section", "# 1.1 Basil details",
                           "### 2 Walnut section", "### 2.1 Willow details"]
