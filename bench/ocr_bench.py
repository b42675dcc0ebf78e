#!/usr/bin/env python3
"""OCR pages per second per worker, and what OCR costs against the same pages' text layer.

    python bench/ocr_bench.py [WORKERS] [SCANNED_PDF_OR_DIR ...]

Defaults: 2 workers; the scan corpus beside the repository (../shared/scan-corpus). Reports
pages/s with one worker and with WORKERS (Tesseract runs on one thread in each, so the ratio
shows how OCR scales over cores; expect about 1 page/s per core at 300 dpi), and ocr="off" on
the same files for the cost of a parse without OCR.
"""
import glob
import os
import sys
import time

import vorlin_reader

HERE = os.path.dirname(os.path.abspath(__file__))
SCANS = os.path.join(HERE, "..", "..", "shared", "scan-corpus")


def pdfs_in(targets):
    paths = []
    for target in targets:
        paths += sorted(glob.glob(os.path.join(target, "*.pdf"))) if os.path.isdir(target) else [target]
    return paths


def pages_per_second(paths, workers, ocr):
    start = time.perf_counter()
    results = vorlin_reader.parse_batch(paths, workers=workers, ocr=ocr)
    elapsed = time.perf_counter() - start
    failed = [f"{path}: {result}" for path, result in results.items() if isinstance(result, str)]
    if failed:
        sys.exit("\n".join(failed))
    return sum(len(document) for document in results.values()) / elapsed


def main(workers="2", *targets):
    workers = int(workers)
    files = pdfs_in(targets or [SCANS])
    if not files:
        sys.exit("no PDF found")
    # Each file twice under distinct names (parse_batch keys by path), so that both workers
    # have files to the end.
    folder = os.path.join("/tmp", f"vorlin-ocr-bench-{os.getpid()}")
    os.makedirs(folder)
    batch = []
    for copy in range(2):
        for index, path in enumerate(files):
            batch.append(os.path.join(folder, f"{copy}-{index}.pdf"))
            os.symlink(os.path.abspath(path), batch[-1])
    try:
        vorlin_reader.parse(files[0], ocr="force")  # load Tesseract and its language data once
        off = pages_per_second(batch, 1, "off")
        one = pages_per_second(batch, 1, "force")
        many = pages_per_second(batch, workers, "force")
    finally:
        for link in batch:
            os.unlink(link)
        os.rmdir(folder)
    print(f"batch: {len(batch)} files")
    print(f"ocr=off,   workers=1: {off:8.2f} pages/s")
    print(f"ocr=force, workers=1: {one:8.2f} pages/s per worker")
    print(f"ocr=force, workers={workers}: {many:8.2f} pages/s ({many / workers:.2f} per worker, "
          f"{many / one:.2f}x one worker)")


if __name__ == "__main__":
    main(*sys.argv[1:])
