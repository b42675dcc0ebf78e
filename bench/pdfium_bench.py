#!/usr/bin/env python3
"""parse(backend="pdfium") + to_markdown() against PDFium's own floor and against pdfplumber.

    python bench/pdfium_bench.py [--quick]

Draws a 200-page two-column report (about 4,000 characters a page) and a 1,000-page one with
reportlab, then prints:
- pages/s of vorlin_reader, best of 3 runs;
- pages/s of the floor: pypdfium2 loading every page, its text page and its whole text, timed in
  a separate process; target vorlin / floor time ratio <= 1.5;
- pages/s of pdfplumber's extract_text (if installed); target >= 10x slower than vorlin;
- peak resident memory of one parse of the 1,000-page report in a fresh process (< 300 MB);
- resident memory across 100 repeated parses of the 1,000-page report (flat: no growth after the
  first 10).
--quick uses 20 repeated parses instead of 100.
"""
import json
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
import pdf_factory  # noqa: E402  (shares the test suite's documents)
from real_corpus_bench import FLOOR  # noqa: E402  (PDFium's own text floor, best of 3)

PAGES = 200
BIG_PAGES = 1000

PLUMBER = """
import sys, time, pdfplumber
start = time.perf_counter()
with pdfplumber.open(sys.argv[1]) as document:
    for page in document.pages:
        page.extract_text()
print(time.perf_counter() - start)
"""

# Resident memory now and at its peak, in MiB, around one parse or many.
MEMORY = """
import json, resource, sys, vorlin_reader

def rss():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * resource.getpagesize() / 2**20

path, runs = sys.argv[1], int(sys.argv[2])
before = rss()
samples = []
for run in range(1, runs + 1):
    vorlin_reader.parse(path, backend="pdfium").to_markdown()
    if run in (1, 10, runs):
        samples.append(rss())
peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024
print(json.dumps({"before": before, "samples": samples, "peak": peak}))
"""


def child(script, *args):
    run = subprocess.run([sys.executable, "-c", script, *map(str, args)], capture_output=True,
                         text=True)
    if run.returncode != 0:
        raise RuntimeError(run.stderr.strip())
    return run.stdout.strip()


def vorlin_seconds(path):
    import vorlin_reader

    vorlin_reader.parse(path, backend="pdfium")  # loads PDFium and warms the page cache
    best = float("inf")
    for _ in range(3):
        start = time.perf_counter()
        vorlin_reader.parse(path, backend="pdfium").to_markdown()
        best = min(best, time.perf_counter() - start)
    return best


def plumber_seconds(path):
    try:
        return float(child(PLUMBER, path))
    except RuntimeError as error:
        print(f"pdfplumber: skipped ({error.args[0].splitlines()[-1]})")
        return None


def main(argv):
    repeats = 20 if "--quick" in argv else 100
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "report-200.pdf")
        big = os.path.join(folder, "report-1000.pdf")
        for target, pages in ((path, PAGES), (big, BIG_PAGES)):
            with open(target, "wb") as stream:
                stream.write(pdf_factory.report(pages=pages, paragraphs=6, repeat=2))

        ours = vorlin_seconds(path)
        floor = float(child(FLOOR, path))
        plumber = plumber_seconds(path)
        print(f"document: {PAGES} pages, two columns, {os.path.getsize(path) / 2**20:.1f} MiB")
        print(f"vorlin parse + to_markdown: {PAGES / ours:9.1f} pages/s ({ours * 1000:.0f} ms)")
        print(f"pypdfium2 floor:            {PAGES / floor:9.1f} pages/s ({floor * 1000:.0f} ms)")
        print(f"ratio vorlin / floor:       {ours / floor:9.2f}  (target <= 1.5)")
        if plumber is not None:
            print(f"pdfplumber extract_text:    {PAGES / plumber:9.1f} pages/s "
                  f"({plumber * 1000:.0f} ms)")
            print(f"vorlin speed-up:            {plumber / ours:9.1f}x (target >= 10)")

        once = json.loads(child(MEMORY, big, 1))
        print(f"peak RSS, {BIG_PAGES} pages:        {once['peak']:9.1f} MiB "
              f"(interpreter and module before the parse: {once['before']:.1f} MiB; "
              f"target < 300)")
        many = json.loads(child(MEMORY, big, repeats))
        first, tenth, last = many["samples"]
        print(f"RSS over {repeats} parses of {BIG_PAGES} pages: after 1: {first:.1f} MiB, "
              f"after 10: {tenth:.1f} MiB, after {repeats}: {last:.1f} MiB "
              f"(growth 10 -> {repeats}: {last - tenth:+.1f} MiB; peak {many['peak']:.1f} MiB)")


if __name__ == "__main__":
    main(sys.argv[1:])
