"""Parsing beside other threads: next to pypdfium2 on the same libpdfium.so, on a pool of workers,
and stopped by Ctrl-C."""

import os
import signal
import threading
import time

import pytest

import pdf_factory as pdfs
import vorlin_reader


@pytest.fixture(scope="module")
def documents(pdfium, tmp_path_factory):
    folder = tmp_path_factory.mktemp("parallel")
    paths = {pages: folder / f"report-{pages}.pdf" for pages in (1, 3, 2, 5)}
    for pages, path in paths.items():
        path.write_bytes(pdfs.report(pages=pages, image=pdfs.gradient()))
    return [str(path) for path in paths.values()]


def test_pypdfium2_in_another_thread_does_not_disturb_a_parse(documents):
    pypdfium2 = pytest.importorskip("pypdfium2")
    path = documents[-1]
    expected = vorlin_reader.parse(path, backend="pdfium").to_markdown()
    done = threading.Event()

    def pypdfium2_loop():
        while not done.is_set():
            pdf = pypdfium2.PdfDocument(path)
            for page in pdf:
                page.get_textpage().get_text_range()
                page.render(scale=0.5)
            pdf.close()

    other = threading.Thread(target=pypdfium2_loop)
    other.start()
    try:
        outputs = {vorlin_reader.parse(path, backend="pdfium").to_markdown() for _ in range(30)}
    finally:
        done.set()
        other.join()
    assert outputs == {expected}


def test_workers_give_the_sequential_results_in_input_order(documents):
    paths = documents + [documents[0], "missing.pdf"]
    one = vorlin_reader.parse_batch(paths, backend="pdfium", workers=1)
    three = vorlin_reader.parse_batch(paths, backend="pdfium", workers=3)
    assert list(three) == list(one) == documents + ["missing.pdf"]
    for path in documents:
        assert three[path].to_markdown() == one[path].to_markdown()
    assert three["missing.pdf"] == one["missing.pdf"]
    with pytest.raises(ValueError, match="^workers must be at least 1, got 0$"):
        vorlin_reader.parse_batch(paths, workers=0)


@pytest.fixture(scope="module")
def long_document(pdfium, tmp_path_factory):
    path = tmp_path_factory.mktemp("long") / "long.pdf"
    path.write_bytes(pdfs.report(pages=300, paragraphs=4, repeat=3))
    return str(path)


@pytest.mark.parametrize("call", [
    lambda path: vorlin_reader.parse(path, backend="pdfium"),
    lambda path: vorlin_reader.parse_batch([path] * 40, backend="pdfium", workers=2),
], ids=["parse", "parse_batch"])
def test_ctrl_c_interrupts_the_call(long_document, call):
    # A shell starts background jobs with SIGINT ignored; Python's own handler is what is tested.
    previous = signal.signal(signal.SIGINT, signal.default_int_handler)
    # The whole call would take seconds; the interrupt arrives 0.2 s in and must stop the call itself.
    timer = threading.Timer(0.2, os.kill, (os.getpid(), signal.SIGINT))
    returned = False
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        call(long_document)
        returned = True
        time.sleep(5)
    signal.signal(signal.SIGINT, previous)
    assert not returned
