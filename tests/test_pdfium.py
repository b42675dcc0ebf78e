"""End to end through PDFium: reportlab-made PDFs in, Markdown, graph JSON and figure files out."""

import os
import re

import pytest
from PIL import Image

import pdf_factory as pdfs
import vorlin_reader
from vorlin_reader import ParseOptions
from vorlin_reader._api import LAYOUTS


def corners(node):
    box = node["bbox"]
    return box["x0"], box["y0"], box["x1"], box["y1"]


# --- the two-column report ---------------------------------------------------------------------

# Page by page; the plain passes join columns set side by side, so only pages are in order.
PARAGRAPHS = [f"{word}{page}" for page in "12"
              for word in pdfs.LEFT_WORDS[:2] + pdfs.RIGHT_WORDS[:2]]


@pytest.mark.parametrize("layout", LAYOUTS)
def test_report_page_after_page_without_page_numbers(pdfium, layout):
    document = vorlin_reader.parse_bytes(pdfs.report(pages=2, image=pdfs.gradient("RGBA")),
                                         layout=layout)
    markdown, graph = document.to_markdown(), document.to_graph_json()
    paragraphs = re.findall(r"\b(\w+[12]) records", markdown)
    assert markdown.splitlines()[0] == f"# {pdfs.TITLE}"
    assert sorted(paragraphs) == sorted(PARAGRAPHS)
    assert [word[-1] for word in paragraphs] == [word[-1] for word in PARAGRAPHS]
    assert not {"1", "2"} & {line.strip() for line in markdown.splitlines()}
    [figure] = [node for node in graph["nodes"] if node["nodeType"] == "figure"]
    assert markdown.count("_figure: figure_") == 1 and figure["page"] == 1
    x0, y0, x1, y1 = corners(figure)
    assert (x0, x1 - x0, y1 - y0) == pytest.approx((pdfs.MARGIN, 180, 120), abs=0.01)


# --- text and images -------------------------------------------------------------------------------


@pytest.mark.parametrize("mode", ["RGB", "RGBA", "L"])
def test_images_become_figures_with_their_own_pixels(pdfium, tmp_path, mode):
    source = pdfs.gradient(mode)
    media = tmp_path / "media" / "figures"  # two levels that do not exist yet
    options = ParseOptions(media_dir=str(media))
    document = vorlin_reader.parse_bytes(pdfs.image_page(source), options)
    [figure] = document.to_graph_json()["nodes"]
    assert figure["nodeType"] == "figure"
    assert corners(figure) == pytest.approx((100, 500, 300, 600), abs=0.01)
    assert os.listdir(media) == [f"{figure['id']}.png"]
    with Image.open(media / f"{figure['id']}.png") as written:
        assert written.size == source.size
        # One pixel from each half: a swapped channel or a misread stride changes them.
        for point in ((0, 0), (36, 22), (18, 11)):
            assert written.convert("RGB").getpixel(point) == source.convert("RGB").getpixel(point)


# --- failures -------------------------------------------------------------------------------------


def test_a_table_beside_a_column_of_prose_keeps_both(pdfium):
    graph = vorlin_reader.parse_bytes(pdfs.table_beside_prose()).to_graph_json()
    assert [node["cells"] for node in graph["nodes"] if "cells" in node] == [pdfs.OPEN_ROWS]
    assert re.findall(r"\b(\w+) records", " ".join(node["content"] for node in graph["nodes"])) \
        == ["Amber", "Basil", "Cedar", "Walnut"]


@pytest.mark.parametrize("repeat_header", [True, False, "under a layer"])
def test_a_table_over_a_page_break_joins_only_under_its_repeated_header(pdfium, repeat_header):
    pdf = pdfs.split_under_a_layer() if repeat_header == "under a layer" else \
        pdfs.split_table(repeat_header)
    tables = [node["cells"] for node in vorlin_reader.parse_bytes(pdf).to_graph_json()["nodes"]
              if node["nodeType"] == "table"]
    if repeat_header == "under a layer":  # the repeat hidden, and the cut row whole again
        assert tables == [pdfs.CUT_ROWS]
    elif repeat_header:
        assert tables == [pdfs.LONG_ROWS]
    else:
        assert len(tables) == 2 and tables[0] + tables[1] == pdfs.LONG_ROWS


@pytest.mark.parametrize("call", [vorlin_reader.parse, vorlin_reader.parse_batch])
@pytest.mark.parametrize("keyword, value, message", [
    ("backend", "mupdf", "backend must be one of builtin / pdfium, got 'mupdf'"),
    ("layout", "fancy", "layout must be one of enhanced / spec, got 'fancy'"),
])
def test_unknown_choices_are_refused(call, keyword, value, message):
    with pytest.raises(ValueError) as raised:
        call("a.pdf" if call is vorlin_reader.parse else ["a.pdf"], **{keyword: value})
    assert str(raised.value) == message


@pytest.mark.parametrize("layout", LAYOUTS)
def test_ruled_and_open_tables_become_table_nodes(pdfium, layout):
    document = vorlin_reader.parse_bytes(pdfs.tables(), layout=layout)
    graph = document.to_graph_json()
    nodes = graph["nodes"]
    tables = [node for node in nodes if node["nodeType"] == "table"]
    prose = " ".join(node["content"] for node in nodes if node["nodeType"] != "table")
    if layout == "spec":
        assert not tables and "North quay" in prose
        return
    assert [table["cells"] for table in tables] == [pdfs.GRID_ROWS, pdfs.OPEN_ROWS]
    assert "| Port | Depth | Berths |\n| --- | --- | --- |\n" in document.to_markdown()
    assert not any(cell in prose for rows in (pdfs.GRID_ROWS, pdfs.OPEN_ROWS)
                   for row in rows for cell in row)
    assert "Amber" in prose and "Basil" in prose
    caption = next(node["id"] for node in nodes if node["content"] == pdfs.TABLE_CAPTION)
    assert {"from": tables[0]["id"], "to": caption, "relation": "caption-of"} in graph["edges"]
