"""End to end through PDFium: reportlab-made PDFs in, Markdown, graph JSON and figure files out."""

import ctypes.util
import hashlib
import logging
import os
import random
import re
import subprocess
import sys

import pytest
from PIL import Image

import pdf_factory as pdfs
import vorlin_reader
from vorlin_reader import ParseOptions

LAYOUTS = ("enhanced", "spec")
ENHANCED = ("enhanced",)  # checks the plain passes cannot meet (columns, cross-page levels)
LOGGER = "vorlin_reader._native"
DAMAGED = "failed to open PDF: pdfium rejected the document: not a PDF file or damaged"
UNLOADABLE = "failed to open PDF: pdfium native library could not be loaded: "


@pytest.fixture
def pdfium():
    pdfs.require_pdfium()


def write(folder, data, name="doc.pdf"):
    path = folder / name
    path.write_bytes(data)
    return str(path)


def nodes_of(graph, node_type):
    return [node for node in graph["nodes"] if node["nodeType"] == node_type]


def corners(node):
    box = node["bbox"]
    return box["x0"], box["y0"], box["x1"], box["y1"]


# --- the two-column report ---------------------------------------------------------------------

REPORT_IMAGE_SIZE = (37, 23)


@pytest.fixture(scope="module", params=LAYOUTS)
def report(request, tmp_path_factory):
    pdfs.require_pdfium()
    data = pdfs.report(pages=2, image=pdfs.gradient("RGBA", REPORT_IMAGE_SIZE))
    folder = tmp_path_factory.mktemp("report")
    media = folder / "media"
    document = vorlin_reader.parse(write(folder, data, "report.pdf"),
                                   ParseOptions(media_dir=str(media)), backend="pdfium",
                                   layout=request.param)
    return {"layout": request.param, "bytes": data, "media": media,
            "markdown": document.to_markdown(), "graph": document.to_graph_json()}


def title_is_level_one(out):
    assert out["markdown"].splitlines()[0] == f"# {pdfs.TITLE}"


def sections_keep_their_levels(out):
    lines = out["markdown"].splitlines()
    for page in (0, 1):
        for side, words in enumerate((pdfs.LEFT_WORDS, pdfs.RIGHT_WORDS)):
            number = 2 * page + side + 1
            assert f"## {number} {words[0]} section" in lines
            assert f"### {number}.1 {words[1]} details" in lines


def left_column_before_right(out):
    markdown = out["markdown"]
    for page in ("1", "2"):
        left = [markdown.index(f"\n{word}{page} records") for word in pdfs.LEFT_WORDS[:2]]
        right = [markdown.index(f"\n{word}{page} records") for word in pdfs.RIGHT_WORDS[:2]]
        assert max(left) < min(right)


def pages_follow_each_other(out):
    markdown = out["markdown"]
    assert markdown.index(f"{pdfs.RIGHT_WORDS[1]}1 records") < markdown.index(
        f"{pdfs.LEFT_WORDS[0]}2 records")


def no_text_is_lost(out):
    for word in pdfs.LEFT_WORDS[:2] + pdfs.RIGHT_WORDS[:2]:
        for page in ("1", "2"):
            assert out["markdown"].count(f"{word}{page} records") == 1


def page_numbers_are_removed(out):
    assert not {"1", "2"} & {line.strip() for line in out["markdown"].splitlines()}
    for node in out["graph"]["nodes"]:
        assert node["nodeType"] == "page-number" or node["content"].strip() not in ("1", "2")


def figure_node_and_its_file(out):
    [figure] = nodes_of(out["graph"], "figure")
    assert out["markdown"].count("_figure: figure_") == 1
    assert figure["page"] == 1
    x0, y0, x1, y1 = corners(figure)
    assert (x0, x1 - x0, y1 - y0) == pytest.approx((pdfs.MARGIN, 180, 120), abs=0.01)
    with Image.open(out["media"] / f"{figure['id']}.png") as image:
        image.load()
        assert image.size == REPORT_IMAGE_SIZE


def meta_names_the_source(out):
    assert out["graph"]["meta"] == {
        "sourceSha256": hashlib.sha256(out["bytes"]).hexdigest(),
        "sourceFilename": "report.pdf",
        "schemaVersion": "0.1.1",
        "profile": "balanced",
    }


def nodes_carry_their_page(out):
    paragraphs = nodes_of(out["graph"], "paragraph")
    pages = {node["content"].split()[0]: node["page"] for node in paragraphs}
    assert pages[f"{pdfs.LEFT_WORDS[0]}1"] == 1
    assert pages[f"{pdfs.LEFT_WORDS[0]}2"] == 2


def sections_contain_their_text(out):
    graph = out["graph"]
    content = {node["id"]: node["content"] for node in graph["nodes"]}
    contains = {(content[edge["from"]], content[edge["to"]].split()[0])
                for edge in graph["edges"] if edge["relation"] == "contains"}
    assert {
        (pdfs.TITLE, "1"),
        ("1 Amber section", "Amber1"),
        ("1 Amber section", "1.1"),
        ("1.1 Basil details", "Basil1"),
        ("2 Walnut section", "2.1"),
        ("4.1 Willow details", "Willow2"),
    } <= contains


REPORT_CHECKS = [
    (title_is_level_one, LAYOUTS),
    (no_text_is_lost, LAYOUTS),
    (page_numbers_are_removed, LAYOUTS),
    (figure_node_and_its_file, LAYOUTS),
    (meta_names_the_source, LAYOUTS),
    (nodes_carry_their_page, LAYOUTS),
    (pages_follow_each_other, LAYOUTS),
    # Columns set side by side share baselines, which the plain passes read as one line.
    (left_column_before_right, ENHANCED),
    (sections_keep_their_levels, ENHANCED),
    (sections_contain_their_text, ENHANCED),
]


@pytest.mark.parametrize("check, layouts", REPORT_CHECKS,
                         ids=[check.__name__ for check, _ in REPORT_CHECKS])
def test_report(report, check, layouts):
    if report["layout"] not in layouts:
        pytest.skip(f"needs the {' / '.join(layouts)} layout")
    check(report)


# --- page geometry and text ----------------------------------------------------------------------

FRAMES = [
    pytest.param(0, None, id="upright"),
    pytest.param(90, None, id="rotate-90"),
    pytest.param(180, None, id="rotate-180"),
    pytest.param(270, None, id="rotate-270"),
    pytest.param(0, (100, 150, 500, 700), id="cropped"),
    pytest.param(90, (100, 150, 500, 700), id="cropped-rotate-90"),
]


@pytest.mark.parametrize("layout", LAYOUTS)
@pytest.mark.parametrize("rotation, crop", FRAMES)
def test_rotated_and_cropped_pages_read_as_shown(pdfium, tmp_path, layout, rotation, crop):
    data, width, height = pdfs.framed_page(rotation, crop)
    document = vorlin_reader.parse(write(tmp_path, data), backend="pdfium", layout=layout)
    assert document.to_markdown() == (
        f"# {pdfs.TITLE}\n\n{pdfs.paragraph_text(pdfs.LEFT_WORDS[0])}\n")
    title, body = document.to_graph_json()["nodes"]
    x0, y0, _, y1 = corners(title)
    assert x0 == pytest.approx(pdfs.MARGIN, abs=0.5)
    assert y0 < height - 72 < y1  # the baseline lies inside the title's box, as shown
    for node in (title, body):
        x0, y0, x1, y1 = corners(node)
        assert 0 <= x0 < x1 <= width and 0 <= y0 < y1 <= height


@pytest.mark.parametrize("layout", LAYOUTS)
@pytest.mark.parametrize("via", ["Tm", "cm"])
def test_unit_font_scaled_by_a_matrix_keeps_its_size(pdfium, tmp_path, layout, via):
    document = vorlin_reader.parse(write(tmp_path, pdfs.scaled_text(via)), backend="pdfium",
                                   layout=layout)
    # A 24 pt title over 10 pt text is only a heading if the sizes survive the `1 Tf`.
    assert document.to_markdown() == (
        f"# {pdfs.TITLE}\n\n{pdfs.paragraph_text(pdfs.LEFT_WORDS[0])}\n")


@pytest.mark.parametrize("layout", LAYOUTS)
def test_ligatures_become_letters_and_unmapped_glyphs_a_replacement(pdfium, tmp_path, layout):
    document = vorlin_reader.parse(write(tmp_path, pdfs.ligature_text()), backend="pdfium",
                                   layout=layout)
    assert document.to_markdown() == "The first floor of the o\ufffdce\n"


# --- images ---------------------------------------------------------------------------------------

IMAGES = [
    pytest.param("RGB", 0, id="rgb"),
    pytest.param("RGBA", 0, id="alpha"),
    pytest.param("L", 0, id="grey"),
    pytest.param("RGB", 1, id="in-form"),
    pytest.param("RGBA", 2, id="alpha-in-nested-forms"),
]


@pytest.mark.parametrize("mode, depth", IMAGES)
def test_images_become_figures_with_their_own_pixels(pdfium, tmp_path, mode, depth):
    source = pdfs.gradient(mode, (37, 23))
    data, placed = pdfs.image_in_forms(source, (100, 500, 200, 100), depth)
    media = tmp_path / "media" / "figures"  # two levels that do not exist yet
    document = vorlin_reader.parse(write(tmp_path, data), ParseOptions(media_dir=str(media)),
                                   backend="pdfium")
    [figure] = document.to_graph_json()["nodes"]
    assert figure["nodeType"] == "figure"
    assert corners(figure) == pytest.approx(placed, abs=0.01)
    assert os.listdir(media) == [f"{figure['id']}.png"]
    with Image.open(media / f"{figure['id']}.png") as written:
        assert written.size == source.size
        pixels = written.convert("RGB")
        expected = source.convert("RGB")
        # One pixel from each half: a swapped channel or a misread stride changes them.
        for point in ((0, 0), (36, 22), (18, 11)):
            assert pixels.getpixel(point) == expected.getpixel(point)


@pytest.mark.parametrize("layout", LAYOUTS)
def test_media_dir_that_is_a_file_warns_once_per_image(pdfium, tmp_path, caplog, layout):
    data, _ = pdfs.image_in_forms(pdfs.gradient(), (100, 500, 200, 100), 0)
    blocker = tmp_path / "media"
    blocker.write_bytes(b"")
    with caplog.at_level(logging.WARNING, logger=LOGGER):
        document = vorlin_reader.parse(write(tmp_path, data), ParseOptions(media_dir=str(blocker)),
                                       backend="pdfium", layout=layout)
    assert len(nodes_of(document.to_graph_json(), "figure")) == 1
    [record] = caplog.records
    assert (record.name, record.levelno) == (LOGGER, logging.WARNING)
    assert re.fullmatch(r"Failed to create media dir: .+ \(os error \d+\)", record.getMessage())


# --- failures -------------------------------------------------------------------------------------


def missing(folder):
    return str(folder / "absent.pdf")


def directory(folder):
    (folder / "folder.pdf").mkdir()
    return str(folder / "folder.pdf")


def unreadable(folder):
    if os.geteuid() == 0:
        pytest.skip("permissions do not apply to root")
    path = write(folder, pdfs.report())
    os.chmod(path, 0)
    return path


BOTH_BACKENDS = [
    (missing, FileNotFoundError, "PDF not found: {path}"),
    (directory, ValueError,
     "failed to open PDF: failed to read PDF at {path}: Is a directory (os error 21)"),
    (unreadable, ValueError,
     "failed to open PDF: failed to read PDF at {path}: Permission denied (os error 13)"),
]


@pytest.mark.parametrize("backend", ["builtin", "pdfium"])
@pytest.mark.parametrize("make, error, message", BOTH_BACKENDS,
                         ids=[row[0].__name__ for row in BOTH_BACKENDS])
def test_unreadable_paths_fail_alike_on_both_backends(tmp_path, backend, make, error, message):
    if backend == "pdfium":
        pdfs.require_pdfium()
    path = make(tmp_path)
    with pytest.raises(error) as raised:
        vorlin_reader.parse(path, backend=backend)
    assert str(raised.value) == message.format(path=path)


REJECTED = [
    pytest.param(lambda: random.Random(7).randbytes(4096), DAMAGED, id="random-bytes"),
    pytest.param(lambda: b"", DAMAGED, id="empty"),
    pytest.param(lambda: (lambda data: data[:len(data) // 2])(pdfs.report()), DAMAGED,
                 id="truncated"),
    pytest.param(lambda: pdfs.encrypted("secret"),
                 "failed to open PDF: pdfium rejected the document: password required or incorrect",
                 id="encrypted"),
]


@pytest.mark.parametrize("make, message", REJECTED)
def test_rejected_documents_name_the_reason(pdfium, tmp_path, make, message):
    with pytest.raises(ValueError) as raised:
        vorlin_reader.parse(write(tmp_path, make()), backend="pdfium")
    assert str(raised.value) == message


def test_encrypted_without_user_password_opens(pdfium, tmp_path):
    document = vorlin_reader.parse(write(tmp_path, pdfs.encrypted("")), backend="pdfium")
    assert document.to_markdown() == pdfs.paragraph_text(pdfs.LEFT_WORDS[0]) + "\n"


def test_batch_reports_each_failure_and_keeps_the_rest(pdfium, tmp_path):
    good = write(tmp_path, pdfs.report(), "good.pdf")
    damaged = write(tmp_path, b"%PDF-1.7\nnot really\n", "damaged.pdf")
    absent = missing(tmp_path)
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


def loaded_libz():
    """Path of a real shared library without PDFium's symbols (zlib, mapped into this process)."""
    with open("/proc/self/maps") as maps:
        for line in maps:
            path = line.split()[-1]
            if re.search(r"/libz\.so[.\d]*$", path):
                return path
    return None


def library_stand_ins():
    libz = loaded_libz()
    return [
        pytest.param(b"not a shared library\n" * 200, "libpdfium.so: invalid ELF header",
                     id="not-a-library"),
        pytest.param(open(libz, "rb").read() if libz else None,
                     "libpdfium.so: undefined symbol: FPDF_InitLibraryWithConfig",
                     id="lacks-symbols",
                     marks=pytest.mark.skipif(libz is None, reason="libz not found")),
        # No file in the wheel's place: the system loader's search is the last resort.
        pytest.param(None, "could not be loaded: libpdfium.so: cannot open shared object file",
                     id="absent",
                     marks=pytest.mark.skipif(ctypes.util.find_library("pdfium") is not None,
                                              reason="a system-wide libpdfium exists")),
    ]


CHILD = """
import sys, vorlin_reader
try:
    vorlin_reader.parse(sys.argv[1], backend="pdfium")
except ValueError as error:
    print(error)
print(vorlin_reader.parse_batch([sys.argv[1]], backend="pdfium")[sys.argv[1]])
print(len(vorlin_reader.parse(sys.argv[1])))  # the built-in backend needs no library
"""


@pytest.mark.parametrize("library, reason", library_stand_ins())
def test_unloadable_library_is_a_value_error(tmp_path, library, reason):
    env = pdfs.shadowed_pdfium(str(tmp_path / "shadow"), library)
    run = subprocess.run([sys.executable, "-c", CHILD, write(tmp_path, b"%PDF-1.7\n")], env=env,
                         capture_output=True, text=True)
    assert run.returncode == 0, run.stderr
    single, batch, builtin_pages = run.stdout.splitlines()
    assert single.startswith(UNLOADABLE) and reason in single
    assert batch == f"ValueError: {single}"
    assert builtin_pages == "1"


# --- robustness -----------------------------------------------------------------------------------


@pytest.fixture(scope="module")
def intact():
    # Uncompressed, so that damage lands in operators and object syntax, not only in zlib data.
    return pdfs.report(image=pdfs.gradient("RGBA"), compress=False)


def parse_damaged(folder, data, layout):
    try:
        document = vorlin_reader.parse(write(folder, data), backend="pdfium", layout=layout)
    except ValueError:
        return
    assert isinstance(document.to_markdown(), str)
    assert isinstance(document.to_graph_json(), dict)


@pytest.mark.parametrize("point", range(30))
def test_every_truncation_is_a_document_or_a_value_error(pdfium, tmp_path, intact, point):
    parse_damaged(tmp_path, intact[:len(intact) * point // 30], LAYOUTS[point % 2])


@pytest.mark.parametrize("seed", range(200))
def test_every_byte_flip_is_a_document_or_a_value_error(pdfium, tmp_path, intact, seed):
    rng = random.Random(seed)
    damaged = bytearray(intact)
    damaged[rng.randrange(len(damaged))] ^= rng.randrange(1, 256)
    parse_damaged(tmp_path, bytes(damaged), LAYOUTS[seed % 2])
