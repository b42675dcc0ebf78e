#!/usr/bin/env python3
"""vorlin_reader and pypdfium2 on the same libpdfium.so in two threads, for SECONDS per round.

    python bench/pypdfium2_stress.py PDF [SECONDS] [ROUNDS]

Each round runs in a fresh process (a crash ends only that round) and must parse to the same
Markdown every time; prints one line per round and exits 1 if any round failed.
"""
import subprocess
import sys

ROUND = """
import sys, threading, time
import pypdfium2, vorlin_reader
path, seconds = sys.argv[1], float(sys.argv[2])
expected = vorlin_reader.parse(path, backend="pdfium").to_markdown()
stop = time.monotonic() + seconds
def other():
    while time.monotonic() < stop:
        pdf = pypdfium2.PdfDocument(path)
        for page in pdf:
            page.get_textpage().get_text_range()
            page.render(scale=0.5)
        pdf.close()
thread = threading.Thread(target=other)
thread.start()
parses = 0
while time.monotonic() < stop:
    assert vorlin_reader.parse(path, backend="pdfium").to_markdown() == expected
    parses += 1
thread.join()
print(parses, "parses")
"""


def main(path, seconds=20, rounds=10):
    failed = 0
    for number in range(1, int(rounds) + 1):
        run = subprocess.run([sys.executable, "-c", ROUND, path, str(seconds)],
                             capture_output=True, text=True)
        outcome = run.stdout.strip() if run.returncode == 0 else (
            f"FAILED (exit {run.returncode}): {run.stderr.strip().splitlines()[-1:]}")
        failed += run.returncode != 0
        print(f"round {number}: {outcome}", flush=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
