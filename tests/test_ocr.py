"""Scanned pages read through Tesseract: the text, its order and provenance, and what happens when
Tesseract or a language is missing."""

import logging

import pytest

import vorlin_reader
from pdf_factory import LEFT_WORDS, RIGHT_WORDS, TITLE, report, scanned

pytestmark = pytest.mark.usefixtures("pdfium")


@pytest.fixture(scope="module")
def scan(pdfium):
    return scanned(report())


def nodes(document):
    return document.to_graph_json()["nodes"]


def test_a_scan_reads_like_the_born_digital_page(scan):
    document = vorlin_reader.parse_bytes(scan)
    markdown = document.to_markdown()
    # Headings, both columns in reading order, the scan's picture no figure.
    assert f"# {TITLE}" in markdown and f"## 1 {LEFT_WORDS[0]} section" in markdown
    positions = [markdown.index(word) for word in (LEFT_WORDS[0], LEFT_WORDS[1], RIGHT_WORDS[0])]
    assert positions == sorted(positions)
    assert "figure" not in {node["nodeType"] for node in nodes(document)}
    for node in nodes(document):
        assert node["provenance"]["source"] == "ocr"
        assert 0.5 < node["provenance"]["confidence"] <= 1


@pytest.mark.parametrize("ocr", ["auto", "off"])
def test_only_scans_are_read_by_ocr(scan, ocr):
    # A born-digital page keeps its own text under auto; off leaves a scan a picture.
    document = vorlin_reader.parse_bytes(report(), ocr=ocr)
    assert {node["provenance"]["source"] for node in nodes(document)} == {"rust"}
    if ocr == "off":
        assert [node["nodeType"] for node in nodes(vorlin_reader.parse_bytes(scan, ocr=ocr))] == [
            "figure"]


@pytest.mark.parametrize("library, languages, missing", [
    ("/nonexistent/libtesseract.so.5", "eng", "apt-get install libtesseract5 tesseract-ocr-eng"),
    (None, "eng+zz_qq", "apt-get install tesseract-ocr-zz-qq$"),
])
def test_missing_tesseract(scan, monkeypatch, caplog, library, languages, missing):
    if library:
        monkeypatch.setenv("VORLIN_TESSERACT_LIBRARY", library)
    with pytest.raises(ValueError, match=missing):
        vorlin_reader.parse_bytes(scan, ocr="force", ocr_languages=languages)
    # auto parses as without OCR and says so once for the document, however many pages need it.
    with caplog.at_level(logging.WARNING, logger="vorlin_reader._native"):
        document = vorlin_reader.parse_bytes(scanned(report(pages=2)), ocr_languages=languages)
    assert [node["nodeType"] for node in nodes(document)] == ["figure", "figure"]
    assert [record.getMessage().endswith(missing.rstrip("$")) for record in caplog.records] == [True]
