"""What the enhanced layout reads from pages as their authors set them: turned text, page numbers
where LaTeX puts them, footnotes."""

import pytest

import pdf_factory as pdfs
import vorlin_reader


def markdown(folder, data):
    path = folder / "doc.pdf"
    path.write_bytes(data)
    return vorlin_reader.parse(str(path), backend="pdfium", layout="enhanced").to_markdown()


@pytest.mark.parametrize("how", ["rotate", "sideways"])
def test_text_running_along_the_page_reads_upright(pdfium, tmp_path, how):
    expected = f"# {pdfs.TITLE}\n\n{pdfs.paragraph_text(pdfs.LEFT_WORDS[0])}\n"
    assert markdown(tmp_path, pdfs.sideways_page(how)) == expected


def test_latex_page_numbers_and_footnotes_leave_the_text(pdfium, tmp_path):
    md = markdown(tmp_path, pdfs.article(pages=3))
    paragraphs = md.strip().split("\n\n")
    assert f"> {pdfs.FOOTNOTE}" in paragraphs
    body = [p for p in paragraphs if not p.startswith(">")]
    assert body == [pdfs.paragraph_text(f"{word}{page}", repeat=3)
                    for page, word in enumerate(pdfs.LEFT_WORDS[:3], start=1)]


def test_bookmarks_name_headings_and_their_levels(pdfium, tmp_path):
    # The outline turns the geometric levels over; the title before it keeps its own, and without
    # use_outline the geometry alone decides.
    outline = [(1, "1.1 Basil details"), (2, "Amber section")]
    path = tmp_path / "doc.pdf"
    path.write_bytes(pdfs.report(outline=outline))
    heads = {use: [line for line in vorlin_reader.parse(path, use_outline=use).to_markdown()
                   .splitlines() if line.startswith("#")] for use in (False, True)}
    assert heads[False][1:3] == ["## 1 Amber section", "### 1.1 Basil details"]
    assert heads[True] == [f"# {pdfs.TITLE}", "## 1 Amber section", "# 1.1 Basil details",
                           "### 2 Walnut section", "### 2.1 Willow details"]
