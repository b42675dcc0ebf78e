#!/usr/bin/env python3
"""Built-in backend parse of a large file against hashlib over the same bytes.

    python bench/parse_bench.py [SIZE_MIB]

Prints the time ratio parse / (read + sha256) and the peak resident memory growth of the parse.
"""
import hashlib
import os
import resource
import sys
import tempfile
import time

import vorlin_reader._native as native


def peak_rss_mib():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024


def best_of(runs, action):
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        action()
        best = min(best, time.perf_counter() - start)
    return best


def main(size_mib=256):
    size_mib = int(size_mib)
    with tempfile.NamedTemporaryFile(suffix=".pdf", delete=False) as handle:
        block = os.urandom(1 << 20)
        for _ in range(size_mib):
            handle.write(block)
        path = handle.name
    try:
        def hash_once():
            with open(path, "rb") as stream:
                hashlib.sha256(stream.read()).hexdigest()

        native.parse(path)  # warm the page cache
        before = peak_rss_mib()
        parse_time = best_of(3, lambda: native.parse(path))
        growth = peak_rss_mib() - before
        hash_time = best_of(3, hash_once)
        print(f"file: {size_mib} MiB")
        print(f"parse (builtin):        {parse_time * 1000:8.1f} ms")
        print(f"hashlib read + sha256:  {hash_time * 1000:8.1f} ms")
        print(f"ratio parse / hashlib:  {parse_time / hash_time:8.3f}  (target <= 1.15)")
        print(f"peak memory growth:     {growth:8.1f} MiB (target <= 32)")
    finally:
        os.unlink(path)


if __name__ == "__main__":
    main(*sys.argv[1:])
