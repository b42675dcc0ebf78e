"""Input a user or an attacker may hand over: files that are not regular, bytes in memory, odd
paths, images too large to decode."""

import hashlib
import logging
import os
import pathlib

import pytest

import pdf_factory as pdfs
import vorlin_reader
from vorlin_reader import ParseOptions

BACKENDS = ["builtin", "pdfium"]


@pytest.fixture(params=BACKENDS)
def backend(request):
    if request.param == "pdfium":
        request.getfixturevalue("pdfium")
    return request.param


@pytest.mark.parametrize("name", ["pipe.pdf", "/dev/zero"])
def test_what_is_not_a_regular_file_is_refused_before_any_read(tmp_path, backend, name):
    path = tmp_path / name  # an absolute name replaces the folder
    if name == "pipe.pdf":
        os.mkfifo(path)  # nobody ever writes: reading it would block for ever
    with pytest.raises(ValueError) as raised:
        vorlin_reader.parse(path, backend=backend)
    assert str(raised.value) == f"failed to open PDF: failed to read PDF at {path}: not a regular file"


def test_bytes_parse_like_the_file_they_came_from(tmp_path, backend):
    data = pdfs.report(pages=2)
    path = tmp_path / "report.pdf"
    path.write_bytes(data)
    from_file = vorlin_reader.parse(path, backend=backend)
    for view in (data, bytearray(data), memoryview(data)):
        from_memory = vorlin_reader.parse_bytes(view, name="report.pdf", backend=backend)
        assert from_memory.to_graph_json()["meta"] == from_file.to_graph_json()["meta"]
        assert from_memory.to_markdown() == from_file.to_markdown()
    assert from_file.to_graph_json()["meta"]["sourceSha256"] == hashlib.sha256(data).hexdigest()


def test_paths_may_be_bytes_pathlike_or_names_that_are_not_utf8(tmp_path, backend):
    raw = os.fsencode(tmp_path) + b"/caf\xe9.pdf"
    with open(raw, "wb") as stream:
        stream.write(pdfs.report())
    for path in (raw, os.fsdecode(raw), pathlib.Path(os.fsdecode(raw))):
        meta = vorlin_reader.parse(path, backend=backend).to_graph_json()["meta"]
        assert meta["sourceFilename"] == "caf\N{REPLACEMENT CHARACTER}.pdf"
    lone_surrogate = "\udc00\ud800.pdf"
    results = vorlin_reader.parse_batch([raw, 42, lone_surrogate, "missing.pdf"], backend=backend)
    assert list(results) == [raw, 42, lone_surrogate, "missing.pdf"]
    assert isinstance(results[raw], vorlin_reader.Document)
    assert results[42] == "TypeError: expected str, bytes or os.PathLike object, not int"
    assert results[lone_surrogate].startswith("UnicodeEncodeError: ")


@pytest.mark.parametrize("limit, saved", [(40 * 30 - 1, False), (40 * 30, True)])
def test_images_over_the_pixel_bound_keep_their_figure_but_are_not_decoded(
        pdfium, tmp_path, caplog, limit, saved):
    media = tmp_path / "media"
    with caplog.at_level(logging.WARNING, logger="vorlin_reader._native"):
        document = vorlin_reader.parse_bytes(pdfs.image_page(pdfs.gradient(size=(40, 30))),
                                             ParseOptions(media_dir=str(media)),
                                             max_image_pixels=limit)
    [figure] = document.to_graph_json()["nodes"]
    assert figure["nodeType"] == "figure"
    assert (media / f"{figure['id']}.png").exists() == saved
    warnings = [] if saved else [f"Figure image {figure['id']} not saved: 40 x 30 pixels exceed "
                                 f"the limit of {limit}"]
    assert [record.getMessage() for record in caplog.records] == warnings
