#!/usr/bin/env python3
"""The enhanced layout over a folder of real PDFs against PDFium's own text floor.

    python bench/real_corpus_bench.py [DIR]    (default: ../shared/real-corpus)

For every PDF, best of 3 runs each: vorlin_reader.parse(layout="enhanced") + to_markdown(), and
the floor, pypdfium2 loading every page, its text page and its whole text (timed in a separate
process so the two PDFium copies never share a cache). Prints pages/s of both and their ratio;
targets: ratio <= 1.3 and >= 400 pages/s.
"""
import glob
import os
import subprocess
import sys
import time

FLOOR = """
import sys, time, pypdfium2
total = 0.0
for path in sys.argv[1:]:
    best = float("inf")
    for _ in range(3):
        start = time.perf_counter()
        document = pypdfium2.PdfDocument(path)
        for page in document:
            text_page = page.get_textpage()
            text_page.get_text_range()
            text_page.close()
            page.close()
        document.close()
        best = min(best, time.perf_counter() - start)
    total += best
print(total)
"""


def vorlin_seconds(paths):
    import vorlin_reader

    total = 0.0
    for path in paths:
        vorlin_reader.parse(path, backend="pdfium", layout="enhanced")  # loads PDFium
        best = float("inf")
        for _ in range(3):
            start = time.perf_counter()
            vorlin_reader.parse(path, backend="pdfium", layout="enhanced").to_markdown()
            best = min(best, time.perf_counter() - start)
        total += best
    return total


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    folder = argv[0] if argv else os.path.join(here, "..", "..", "shared", "real-corpus")
    paths = sorted(glob.glob(os.path.join(folder, "*.pdf")))
    if not paths:
        sys.exit(f"no PDFs in {folder}")
    import pypdfium2

    pages = sum(len(pypdfium2.PdfDocument(path)) for path in paths)
    floor = float(subprocess.run([sys.executable, "-c", FLOOR, *paths], capture_output=True,
                                 text=True, check=True).stdout)
    ours = vorlin_seconds(paths)
    print(f"{len(paths)} documents, {pages} pages")
    print(f"vorlin enhanced + to_markdown: {pages / ours:8.1f} pages/s (target >= 400)")
    print(f"pypdfium2 floor:               {pages / floor:8.1f} pages/s")
    print(f"ratio vorlin / floor:          {ours / floor:8.2f}  (target <= 1.3)")


if __name__ == "__main__":
    main(sys.argv[1:])
