#!/usr/bin/env python3
"""chunk() of a 300-page document against its parse.

    python bench/chunk_bench.py [PDF]

Without a PDF, a 300-page two-column report from the test suite's generator. Prints the best of 3
parse and chunk times and their ratio (target: chunking <= 10 % of parsing).
"""
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
import pdf_factory  # noqa: E402  (shares the test suite's documents)

import vorlin_reader  # noqa: E402

PAGES = 300


def best_of(runs, action):
    best, result = float("inf"), None
    for _ in range(runs):
        start = time.perf_counter()
        result = action()
        best = min(best, time.perf_counter() - start)
    return best, result


def main(path=None):
    with tempfile.TemporaryDirectory() as folder:
        if path is None:
            path = os.path.join(folder, "report.pdf")
            with open(path, "wb") as stream:
                stream.write(pdf_factory.report(pages=PAGES, paragraphs=6, repeat=2))
        parse_time, document = best_of(3, lambda: vorlin_reader.parse(path))
        chunk_time, chunks = best_of(3, lambda: vorlin_reader.chunk(document))
    print(f"document: {len(document)} pages, {len(chunks)} chunks of <= 512 tokens")
    print(f"parse:  {parse_time * 1000:8.1f} ms")
    print(f"chunk:  {chunk_time * 1000:8.1f} ms")
    print(f"ratio chunk / parse: {chunk_time / parse_time:6.3f}  (target <= 0.10)")


if __name__ == "__main__":
    main(*sys.argv[1:])
