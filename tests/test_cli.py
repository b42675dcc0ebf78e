"""The `vorlin-reader` command, run as a separate process the way a user runs it."""

import fcntl
import json
import os
import pty
import re
import shutil
import struct
import subprocess
import sys
import termios
from pathlib import Path

import pytest

import pdf_factory as pdfs
import vorlin_reader
from vorlin_reader import _native

SAMPLE = str(Path(__file__).resolve().parent.parent / "examples" / "sample.pdf")
SCRIPT = os.path.join(os.path.dirname(sys.executable), "vorlin-reader")
MODULE = (sys.executable, "-m", "vorlin_reader")
ENTRY_POINTS = [
    pytest.param(MODULE, id="module"),
    pytest.param([SCRIPT], id="script",
                 marks=pytest.mark.skipif(not os.access(SCRIPT, os.X_OK),
                                          reason="console script not installed beside python")),
]
# Crockford base-32 ULIDs: fresh in every process, so outputs are compared with ids numbered.
NODE_ID = re.compile(r"\b[0-9A-HJKMNP-TV-Z]{26}\b")


def tool(*args, command=MODULE, **kwargs):
    return subprocess.run([*command, *args], capture_output=True, text=True, **kwargs)


def numbered_ids(text):
    seen = {}
    return NODE_ID.sub(lambda match: f"#{seen.setdefault(match.group(), len(seen))}", text)


@pytest.fixture(scope="module")
def expected(pdfium):
    """The sample through the package API in this process: what the tool must print."""
    document = vorlin_reader.parse(SAMPLE, backend="pdfium")
    return {"document": document, "markdown": document.to_markdown(),
            "json": numbered_ids(_native._graph_json_text(document)) + "\n"}


@pytest.fixture
def image_pdf(pdfium, tmp_path):
    source = tmp_path / "image.pdf"
    source.write_bytes(pdfs.image_page(pdfs.gradient()))
    return str(source)


def copies(folder, *names):
    for name in names:
        (folder / name).parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(SAMPLE, folder / name)
    return [str(folder / name) for name in names]


@pytest.mark.parametrize("command", ENTRY_POINTS)
@pytest.mark.parametrize("fmt", ["markdown", "json"])
def test_prints_one_file_as_the_api_gives_it(expected, command, fmt):
    run = tool("parse", SAMPLE, "--format", fmt, command=command)
    assert (run.returncode, run.stderr, numbered_ids(run.stdout)) == (0, "", expected[fmt])


@pytest.mark.parametrize("fmt, suffix, jobs", [("markdown", ".md", "1"), ("json", ".json", "3")])
def test_output_dir_keeps_going_past_a_missing_file(expected, tmp_path, fmt, suffix, jobs):
    first, second, same_stem = copies(tmp_path, "a.pdf", "b.pdf", "other/a.pdf")
    absent = str(tmp_path / "absent.pdf")
    out = tmp_path / "out"
    run = tool("parse", first, absent, second, same_stem, "-o", str(out), "--format", fmt,
               "--jobs", jobs)
    # Only the failure on stderr: no progress bar when stderr is not a terminal.
    assert (run.returncode, run.stderr) == (1, f"{absent}: PDF not found: {absent}\n")
    # Complete files only: no temporary left behind, nothing for the missing input, and the
    # second "a" does not overwrite the first.
    sources = {"a": "a.pdf", "b": "b.pdf", "a-2": "a.pdf"}
    assert sorted(os.listdir(out)) == sorted(stem + suffix for stem in sources)
    for stem, source in sources.items():
        text = (out / (stem + suffix)).read_text(encoding="utf-8")
        if fmt == "markdown":
            assert text == expected["markdown"]
        else:  # the compact text stdout gets
            assert numbered_ids(text) == expected["json"].replace('"sample.pdf"', f'"{source}"')


def test_any_exception_of_one_file_is_reported_and_options_reach_the_parse(expected, tmp_path,
                                                                           monkeypatch, capsys):
    from vorlin_reader import cli

    parse_many, calls = _native._parse_many, []

    def first_runs_out_of_memory(*args, **keywords):
        calls.append(args)
        return [MemoryError(), *parse_many(*args, **keywords)[1:]]

    monkeypatch.setattr(_native, "_parse_many", first_runs_out_of_memory)
    media = str(tmp_path / "figures")
    # Five workers: not the default, which is at most the cores there are.
    assert cli.main(["parse", SAMPLE, SAMPLE, "-j", "5", "--profile", "scientific",
                     "--media-dir", media, "--use-outline"]) == 1
    [(*_, use_outline, _, options, workers)] = calls
    assert (options.profile, options.media_dir, workers, use_outline) == ("scientific", media, 5,
                                                                          True)
    # The figures saved into media are linked from the Markdown.
    linked = vorlin_reader.to_markdown(expected["document"], figures="linked", media_dir=media)
    out, err = capsys.readouterr()
    assert (numbered_ids(out), err) == (numbered_ids(linked), f"{SAMPLE}: MemoryError\n")
    assert "](" in linked


@pytest.mark.parametrize("quiet", [[], ["--quiet"]])
def test_warnings_go_to_stderr_unless_quiet(tmp_path, image_pdf, quiet):
    blocker = tmp_path / "media"
    blocker.write_bytes(b"")
    run = tool("parse", "--media-dir", str(blocker), *quiet, image_pdf)
    warning = f"vorlin-reader: warning: Failed to create media dir {blocker}: File exists (os error 17)\n"
    assert (run.returncode, run.stderr) == (0, "" if quiet else warning)
    # Markdown written elsewhere links the saved figures from where it is.
    run = tool("parse", image_pdf, "--media-dir", str(tmp_path / "m"), "-o", str(tmp_path / "out"))
    [link] = re.findall(r"\]\((.*)\)", (tmp_path / "out" / "image.md").read_text())
    assert run.returncode == 0 and (tmp_path / "out" / link).is_file()
    assert link.startswith("../m/")


def test_indented_json_and_chunk_lines(expected):
    indented = tool("parse", SAMPLE, "--format", "json", "--indent", "2")
    assert numbered_ids(indented.stdout) == json.dumps(json.loads(expected["json"]), indent=2,
                                                       ensure_ascii=False) + "\n"
    lines = tool("parse", SAMPLE, "--format", "chunks", "--max-tokens", "40").stdout.splitlines()
    chunks = vorlin_reader.chunk(vorlin_reader.parse(SAMPLE), max_tokens=40)
    assert len(chunks) > 1
    assert [(c["text"], c["headings"], c["pages"], SAMPLE) for c in chunks] == [
        (c["text"], c["headings"], c["pages"], c["source"]) for c in map(json.loads, lines)]


# A missing command, missing files, a count below one, --indent without JSON (choices are
# argparse's to enforce); an output folder under a file; the version; any file through the
# built-in backend, which reads it as a blank page.
@pytest.mark.parametrize("args, code, out, err", [
    ([], 2, "", "usage: vorlin-reader.*"),
    (["parse"], 2, "", "usage: vorlin-reader.*"),
    (["parse", SAMPLE, "-j", "0"], 2, "", "usage: vorlin-reader.*"),
    (["parse", SAMPLE, "--indent", "2"], 2, "", "usage: vorlin-reader.*"),
    (["parse", SAMPLE, "-o", "{tmp}/taken/sub"], 1, "",
     "vorlin-reader: cannot create output directory {tmp}/taken/sub: Not a directory\n"),
    (["--version"], 0, f"vorlin-reader {_native.version()}\n", ""),
    (["parse", "{tmp}/noise.pdf", "--backend", "builtin"], 0, "", ""),
], ids=["nothing", "no-file", "no-job", "indent-markdown", "output-dir", "version", "builtin"])
def test_runs_with_one_answer(tmp_path, args, code, out, err):
    (tmp_path / "taken").write_text("a file, not a folder")
    (tmp_path / "noise.pdf").write_bytes(os.urandom(2048))
    run = tool(*(arg.format(tmp=tmp_path) for arg in args))
    assert (run.returncode, run.stdout) == (code, out)
    assert re.fullmatch(err.format(tmp=re.escape(str(tmp_path))), run.stderr, re.DOTALL)


def test_progress_bar_on_a_terminal(expected, tmp_path):
    leader, follower = pty.openpty()
    fcntl.ioctl(follower, termios.TIOCSWINSZ, struct.pack("HHHH", 24, 100, 0, 0))
    files = copies(tmp_path, "a.pdf", "b.pdf", "c.pdf")
    with subprocess.Popen([*MODULE, "parse", *files, "-o", str(tmp_path / "out")],
                          stdout=subprocess.DEVNULL, stderr=follower) as process:
        os.close(follower)
        shown = b""
        try:
            while chunk := os.read(leader, 4096):
                shown += chunk
        except OSError:  # the terminal closes with the process
            pass
    os.close(leader)
    assert process.returncode == 0
    assert b"/3 [" in shown


def test_missing_pdfium_library_says_how_to_install_it(tmp_path):
    # A child process whose pypdfium2_raw holds a broken libpdfium.so.
    (tmp_path / "pypdfium2_raw").mkdir()
    (tmp_path / "pypdfium2_raw" / "__init__.py").write_text("")
    (tmp_path / "pypdfium2_raw" / "libpdfium.so").write_bytes(b"not a shared library\n" * 200)
    path = os.pathsep.join(filter(None, [str(tmp_path), os.environ.get("PYTHONPATH")]))
    run = tool("parse", SAMPLE, env=dict(os.environ, PYTHONPATH=path))
    assert (run.returncode, run.stdout) == (1, "")
    assert re.fullmatch(
        re.escape(f"{SAMPLE}: failed to open PDF: pdfium native library could not be loaded: ")
        + r".*libpdfium\.so: invalid ELF header"
        + re.escape(" (install it with: pip install pypdfium2)") + "\n", run.stderr)
