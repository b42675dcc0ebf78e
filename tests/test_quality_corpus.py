"""The enhanced layout on the bundled quality corpus: every document meets the quality targets."""

import glob
import os
import sys

import pytest

import vorlin_reader

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "shared",
                      "quality-corpus")
PDFS = sorted(glob.glob(os.path.join(CORPUS, "*.pdf")))
TARGETS = {"order": 0.98, "head_f1": 0.95, "levels": 0.95, "text_f1": 0.995}

pytestmark = pytest.mark.skipif(not PDFS, reason="quality corpus not found beside the repository")


@pytest.fixture(scope="module")
def score_markdown():
    sys.path.insert(0, CORPUS)
    try:
        from score import score_markdown
    finally:
        sys.path.remove(CORPUS)
    return score_markdown


def scores(score_markdown, pdf):
    markdown = vorlin_reader.parse(pdf, backend="pdfium").to_markdown()
    return score_markdown(pdf[:-len(".pdf")] + ".truth.json", markdown)


@pytest.mark.parametrize("pdf", PDFS, ids=os.path.basename)
def test_enhanced_layout_meets_the_targets(score_markdown, pdf):
    got = scores(score_markdown, pdf)
    for key, floor in TARGETS.items():
        assert got[key] >= floor, f"{key}={got[key]:.3f} below {floor}"
    assert got["leaks"] == 0

