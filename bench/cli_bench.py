#!/usr/bin/env python3
"""The `vorlin-reader` tool on 200 copies of examples/sample.pdf, and its start-up time.

    python bench/cli_bench.py [COPIES]

Prints files/s of one `vorlin-reader parse ... -o DIR` run over all copies (best of 3, process
start included) and the time of `vorlin-reader --version` (median of 20; target < 150 ms) beside
a bare `python -c pass`, the floor any Python tool pays.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE = os.path.join(HERE, "..", "examples", "sample.pdf")


def tool_command():
    beside = os.path.join(os.path.dirname(sys.executable), "vorlin-reader")
    found = beside if os.access(beside, os.X_OK) else shutil.which("vorlin-reader")
    return [found] if found else [sys.executable, "-m", "vorlin_reader"]


def seconds(command, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    return times


def main(copies=200):
    copies = int(copies)
    tool = tool_command()
    with tempfile.TemporaryDirectory() as folder:
        files = []
        for index in range(copies):
            files.append(os.path.join(folder, f"sample-{index:03d}.pdf"))
            shutil.copyfile(SAMPLE, files[-1])
        out = os.path.join(folder, "out")
        batch = min(seconds([*tool, "parse", *files, "-o", out], 3))
        written = len(os.listdir(out))
    if written != copies:
        raise SystemExit(f"expected {copies} outputs, found {written}")

    version = seconds([*tool, "--version"], 20)
    bare = seconds([sys.executable, "-c", "pass"], 20)
    print(f"tool: {' '.join(tool)}")
    print(f"{copies} copies of the sample ({os.path.getsize(SAMPLE)} bytes, 2 pages each): "
          f"{copies / batch:7.1f} files/s ({batch * 1000:.0f} ms for the run)")
    print(f"vorlin-reader --version: median {statistics.median(version) * 1000:6.1f} ms, "
          f"best {min(version) * 1000:6.1f} ms (target < 150 ms)")
    print(f"python -c pass:          median {statistics.median(bare) * 1000:6.1f} ms, "
          f"best {min(bare) * 1000:6.1f} ms")


if __name__ == "__main__":
    main(*sys.argv[1:])
