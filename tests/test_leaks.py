"""Resident memory and reference counts stay flat over many calls."""

import contextlib
import gc
import sys

import pytest

from vorlin_reader._native import Document, ParseOptions, parse, parse_batch


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * 4096


def exercise(path, missing, options):
    document = parse(path, options)
    document.to_markdown(), document.to_graph_json(), repr(document), len(document)
    parse_batch([path, missing], options)
    for failing in (lambda: parse(missing), lambda: parse(1)):
        with contextlib.suppress(FileNotFoundError, TypeError):
            failing()
    # A long endpoint, so that a record never freed shows in the resident size.
    fresh = ParseOptions(profile="fast", max_concurrent_pages=3, ollama_endpoint="h" * 4096)
    fresh.profile = "turbo"
    repr(fresh)


@pytest.mark.skipif(not sys.platform.startswith("linux"), reason="reads /proc/self/statm")
def test_twenty_thousand_parses_keep_resident_memory_flat(sample_pdf, tmp_path):
    path, missing = sample_pdf[0], str(tmp_path / "missing.pdf")
    options = ParseOptions(profile="scientific")
    for _ in range(2_000):  # let allocators and caches settle
        exercise(path, missing, options)
    gc.collect()
    before = resident_bytes()
    for _ in range(20_000):
        exercise(path, missing, options)
    gc.collect()
    assert resident_bytes() - before < 4 * 1024 * 1024


def test_reference_counts_of_arguments_and_results(sample_pdf, tmp_path):
    path = sample_pdf[0] + ""  # a private object, so that only this test holds it
    missing = str(tmp_path / "missing.pdf")
    paths, options, not_options = [path, missing], ParseOptions(), {}
    counted = [path, missing, paths, options, not_options, Document, ParseOptions]
    before = [sys.getrefcount(obj) for obj in counted]
    for _ in range(500):
        # Counted outside `assert`, whose rewriting keeps extra references to subexpressions.
        document = parse(path, options)
        graph = document.to_graph_json()
        outcomes = parse_batch(paths, options)
        counts = [sys.getrefcount(document), sys.getrefcount(graph), sys.getrefcount(outcomes)]
        counts += [sys.getrefcount(outcomes[path]), sys.getrefcount(outcomes[missing])]
        assert counts == [2, 2, 2, 2, 2]
        for failing in (lambda: parse(path, not_options), lambda: parse(missing, options)):
            with contextlib.suppress(TypeError, FileNotFoundError):
                failing()
        ParseOptions(ollama_endpoint=path)
        del document, graph, outcomes
    assert [sys.getrefcount(obj) for obj in counted] == before
