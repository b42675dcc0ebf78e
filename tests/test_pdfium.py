"""End to end through PDFium: reportlab-made PDFs in, Markdown, graph JSON and figure files out."""

import ctypes.util
import os
import re
import subprocess
import sys

import pytest
from PIL import Image

import pdf_factory as pdfs
import vorlin_reader
from vorlin_reader import ParseOptions
from vorlin_reader._api import LAYOUTS

REJECTED = "failed to open PDF: pdfium rejected the document: "
DAMAGED = REJECTED + "not a PDF file or damaged"
ONE_PARAGRAPH = pdfs.paragraph_text(pdfs.LEFT_WORDS[0])


@pytest.fixture
def pdfium():
    pdfs.require_pdfium()


def write(folder, data, name="doc.pdf"):
    path = folder / name
    path.write_bytes(data)
    return str(path)


def parsed(folder, data, *options, name="doc.pdf", **keywords):
    return vorlin_reader.parse(write(folder, data, name), *options, backend="pdfium", **keywords)


def corners(node):
    box = node["bbox"]
    return box["x0"], box["y0"], box["x1"], box["y1"]


# --- the two-column report ---------------------------------------------------------------------

REPORT_IMAGE_SIZE = (37, 23)
# Reading order: page by page, the left column before the right.
PARAGRAPHS = [f"{word}{page}" for page in "12"
              for word in pdfs.LEFT_WORDS[:2] + pdfs.RIGHT_WORDS[:2]]
HEADINGS = [f"# {pdfs.TITLE}", "## 1 Amber section", "### 1.1 Basil details",
            "## 2 Walnut section", "### 2.1 Willow details", "## 3 Amber section",
            "### 3.1 Basil details", "## 4 Walnut section", "### 4.1 Willow details"]


@pytest.fixture(scope="module", params=LAYOUTS)
def report(request, tmp_path_factory):
    pdfs.require_pdfium()
    data = pdfs.report(pages=2, image=pdfs.gradient("RGBA", REPORT_IMAGE_SIZE))
    folder = tmp_path_factory.mktemp("report")
    document = parsed(folder, data, ParseOptions(media_dir=str(folder / "media")),
                      name="report.pdf", layout=request.param)
    return {"layout": request.param, "media": folder / "media",
            "markdown": document.to_markdown(), "graph": document.to_graph_json()}


def title_is_level_one(out):
    assert out["markdown"].splitlines()[0] == f"# {pdfs.TITLE}"


def each_paragraph_once_page_after_page(out):
    found = re.findall(r"\b(\w+[12]) records", out["markdown"])
    assert sorted(found) == sorted(PARAGRAPHS)
    assert [word[-1] for word in found] == [word[-1] for word in PARAGRAPHS]


def left_column_before_right(out):
    assert re.findall(r"\b(\w+[12]) records", out["markdown"]) == PARAGRAPHS


def page_numbers_are_removed(out):
    assert not {"1", "2"} & {line.strip() for line in out["markdown"].splitlines()}
    for node in out["graph"]["nodes"]:
        assert node["nodeType"] == "page-number" or node["content"].strip() not in ("1", "2")


def figure_node_and_its_file(out):
    [figure] = [node for node in out["graph"]["nodes"] if node["nodeType"] == "figure"]
    assert out["markdown"].count("_figure: figure_") == 1
    assert figure["page"] == 1
    x0, y0, x1, y1 = corners(figure)
    assert (x0, x1 - x0, y1 - y0) == pytest.approx((pdfs.MARGIN, 180, 120), abs=0.01)
    with Image.open(out["media"] / f"{figure['id']}.png") as image:
        assert image.size == REPORT_IMAGE_SIZE


def nodes_carry_their_page(out):
    pages = {node["content"].split()[0]: node["page"]
             for node in out["graph"]["nodes"] if node["nodeType"] == "paragraph"}
    assert (pages["Amber1"], pages["Amber2"]) == (1, 2)


def headings_keep_their_levels_across_pages(out):
    assert [line for line in out["markdown"].splitlines() if line.startswith("#")] == HEADINGS


def sections_contain_their_text(out):
    content = {node["id"]: node["content"] for node in out["graph"]["nodes"]}
    contains = {(content[edge["from"]], content[edge["to"]].split()[0])
                for edge in out["graph"]["edges"] if edge["relation"] == "contains"}
    assert {(pdfs.TITLE, "1"), ("1 Amber section", "Amber1"), ("1 Amber section", "1.1"),
            ("1.1 Basil details", "Basil1"), ("2 Walnut section", "2.1"),
            ("4.1 Willow details", "Willow2")} <= contains


ANY_LAYOUT = [title_is_level_one, each_paragraph_once_page_after_page, page_numbers_are_removed,
              figure_node_and_its_file, nodes_carry_their_page]
# Columns set side by side share baselines, which the plain passes read as one line.
ENHANCED_ONLY = [left_column_before_right, headings_keep_their_levels_across_pages,
                 sections_contain_their_text]


@pytest.mark.parametrize("check", ANY_LAYOUT + ENHANCED_ONLY, ids=lambda check: check.__name__)
def test_report(report, check):
    if check in ENHANCED_ONLY and report["layout"] != "enhanced":
        pytest.skip("needs the enhanced layout")
    check(report)


# --- page geometry, text and images --------------------------------------------------------------

CROP = (100, 150, 500, 700)


@pytest.mark.parametrize("layout", LAYOUTS)
@pytest.mark.parametrize("rotation, crop", [(0, None), (90, None), (180, None), (270, None),
                                            (0, CROP), (90, CROP)])
def test_rotated_and_cropped_pages_read_as_shown(pdfium, tmp_path, layout, rotation, crop):
    data, width, height = pdfs.framed_page(rotation, crop)
    document = parsed(tmp_path, data, layout=layout)
    assert document.to_markdown() == f"# {pdfs.TITLE}\n\n{ONE_PARAGRAPH}\n"
    title, body = document.to_graph_json()["nodes"]
    x0, y0, _, y1 = corners(title)
    assert x0 == pytest.approx(pdfs.MARGIN, abs=0.5)
    assert y0 < height - 72 < y1  # the baseline lies inside the title's box, as shown
    for node in (title, body):
        x0, y0, x1, y1 = corners(node)
        assert 0 <= x0 < x1 <= width and 0 <= y0 < y1 <= height


@pytest.mark.parametrize("layout", LAYOUTS)
def test_ligatures_become_letters_and_unmapped_glyphs_a_replacement(pdfium, tmp_path, layout):
    document = parsed(tmp_path, pdfs.ligature_text(), layout=layout)
    assert document.to_markdown() == "The first floor of the o\ufffdce\n"


@pytest.mark.parametrize("mode", ["RGB", "RGBA", "L"])
def test_images_become_figures_with_their_own_pixels(pdfium, tmp_path, mode):
    source = pdfs.gradient(mode, (37, 23))
    media = tmp_path / "media" / "figures"  # two levels that do not exist yet
    document = parsed(tmp_path, pdfs.image_page(source, (100, 500, 200, 100)),
                      ParseOptions(media_dir=str(media)))
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


def awkward_path(folder, kind):
    path = folder / "doc.pdf"
    if kind == "directory":
        path.mkdir()
    elif kind == "unreadable":
        path.write_bytes(b"%PDF-1.7\n")
        path.chmod(0)
    return str(path)


@pytest.mark.parametrize("backend", ["builtin", "pdfium"])
@pytest.mark.parametrize("kind, error, message", [
    ("missing", FileNotFoundError, "PDF not found: {path}"),
    ("directory", ValueError,
     "failed to open PDF: failed to read PDF at {path}: Is a directory (os error 21)"),
    pytest.param("unreadable", ValueError,
                 "failed to open PDF: failed to read PDF at {path}: "
                 "Permission denied (os error 13)",
                 marks=pytest.mark.skipif(os.geteuid() == 0,
                                          reason="permissions do not apply to root")),
])
def test_unreadable_paths_fail_alike_on_both_backends(tmp_path, backend, kind, error, message):
    if backend == "pdfium":
        pdfs.require_pdfium()
    path = awkward_path(tmp_path, kind)
    with pytest.raises(error) as raised:
        vorlin_reader.parse(path, backend=backend)
    assert str(raised.value) == message.format(path=path)


def test_encrypted_document_needs_a_password_only_when_it_has_a_user_password(pdfium, tmp_path):
    assert parsed(tmp_path, pdfs.encrypted("")).to_markdown() == ONE_PARAGRAPH + "\n"
    with pytest.raises(ValueError) as raised:
        parsed(tmp_path, pdfs.encrypted("secret"))
    assert str(raised.value) == REJECTED + "password required or incorrect"


def test_batch_reports_each_failure_and_keeps_the_rest(pdfium, tmp_path):
    good = write(tmp_path, pdfs.report(), "good.pdf")
    damaged = write(tmp_path, b"%PDF-1.7\nnot really\n", "damaged.pdf")
    absent = str(tmp_path / "absent.pdf")
    results = vorlin_reader.parse_batch([good, damaged, absent], backend="pdfium")
    assert list(results) == [good, damaged, absent]
    assert results[good].to_markdown() == vorlin_reader.parse(good, backend="pdfium").to_markdown()
    assert results[damaged] == f"ValueError: {DAMAGED}"
    assert results[absent] == f"FileNotFoundError: PDF not found: {absent}"


@pytest.mark.parametrize("call", [vorlin_reader.parse, vorlin_reader.parse_batch])
@pytest.mark.parametrize("keyword, value, message", [
    ("backend", "mupdf", "backend must be one of builtin / pdfium, got 'mupdf'"),
    ("layout", "fancy", "layout must be one of enhanced / spec, got 'fancy'"),
])
def test_unknown_choices_are_refused(tmp_path, call, keyword, value, message):
    target = write(tmp_path, b"%PDF-1.7\n")
    with pytest.raises(ValueError) as raised:
        call(target if call is vorlin_reader.parse else [target], **{keyword: value})
    assert str(raised.value) == message


# --- a missing or broken PDFium library ----------------------------------------------------------

# parse() raising is the command-line tool's test; here the batch outcome and the built-in backend,
# which needs no library.
CHILD = """
import sys, vorlin_reader
print(vorlin_reader.parse_batch([sys.argv[1]], backend="pdfium")[sys.argv[1]])
print(len(vorlin_reader.parse(sys.argv[1])))
"""


@pytest.mark.parametrize("library, reason", [
    pytest.param(b"not a shared library\n" * 200, "libpdfium.so: invalid ELF header",
                 id="not-a-library"),
    # No file in the wheel's place: the system loader's search is the last resort.
    pytest.param(None, "loaded: libpdfium.so: cannot open shared object file", id="absent",
                 marks=pytest.mark.skipif(ctypes.util.find_library("pdfium") is not None,
                                          reason="a system-wide libpdfium exists")),
])
def test_unloadable_library_is_a_value_error(tmp_path, library, reason):
    env = pdfs.shadowed_pdfium(str(tmp_path / "shadow"), library)
    run = subprocess.run([sys.executable, "-c", CHILD, write(tmp_path, b"%PDF-1.7\n")], env=env,
                         capture_output=True, text=True)
    assert run.returncode == 0, run.stderr
    batch, builtin_pages = run.stdout.splitlines()
    assert batch.startswith("ValueError: failed to open PDF: pdfium native library could not be "
                            "loaded: ") and reason in batch
    assert builtin_pages == "1"
