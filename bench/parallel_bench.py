#!/usr/bin/env python3
"""parse_batch pages per second with one worker against N workers on the same batch of PDFs.

    python bench/parallel_bench.py [WORKERS] [PDF_OR_DIR ...]

Defaults: 2 workers; the real and quality corpora beside the repository (../shared), each file
repeated so the batch takes a few seconds. Target on a 2-core machine: workers=2 >= 1.8x.
"""
import glob
import os
import resource
import sys
import time

import vorlin_reader

HERE = os.path.dirname(os.path.abspath(__file__))
CORPORA = [os.path.join(HERE, "..", "..", "shared", name) for name in ("real-corpus",
                                                                          "quality-corpus")]


def pdfs_in(targets):
    paths = []
    for target in targets:
        paths += sorted(glob.glob(os.path.join(target, "*.pdf"))) if os.path.isdir(target) else [target]
    return paths


def pages_per_second(paths, workers):
    start = time.perf_counter()
    results = vorlin_reader.parse_batch(paths, backend="pdfium", workers=workers)
    elapsed = time.perf_counter() - start
    pages = sum(len(document) for document in results.values()
                if isinstance(document, vorlin_reader.Document))
    return pages / elapsed, pages


def main(workers="2", *targets):
    workers = int(workers)
    files = pdfs_in(targets or CORPORA)
    if not files:
        sys.exit("no PDF found")
    # Distinct keys (parse_batch keys by path), many files: symlinks to the same documents.
    folder = os.path.join("/tmp", f"vorlin-parallel-{os.getpid()}")
    os.makedirs(folder)
    batch = []
    for copy in range(max(1, 200 // len(files))):
        for index, path in enumerate(files):
            link = os.path.join(folder, f"{copy}-{index}.pdf")
            os.symlink(os.path.abspath(path), link)
            batch.append(link)
    pages_per_second(batch[:len(files)], 1)  # warm the page cache and the instances
    one, pages = pages_per_second(batch, 1)
    many, _ = pages_per_second(batch, workers)
    peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024
    print(f"batch: {len(batch)} files, {pages} pages")
    print(f"workers=1:        {one:8.1f} pages/s")
    print(f"workers={workers}:        {many:8.1f} pages/s")
    print(f"ratio:            {many / one:8.2f}  (target >= 1.8 with 2 workers on 2 cores)")
    print(f"peak RSS:         {peak:8.1f} MiB")
    for link in batch:
        os.unlink(link)
    os.rmdir(folder)


if __name__ == "__main__":
    main(*sys.argv[1:])
