"""The `vorlin-reader` command: turns PDF files into Markdown or graph JSON.

Imports stay light at start-up; the native module and tqdm load only when a parse runs.
"""

import argparse
import os
import sys
import tempfile

_FORMATS = {"markdown": ".md", "json": ".json", "chunks": ".jsonl"}
_PROFILES = ("fast", "balanced", "scientific")


def _parser():
    from vorlin_reader._version import __version__

    parser = argparse.ArgumentParser(
        prog="vorlin-reader",
        description="Turn PDF files into Markdown, graph JSON or retrieval chunks.",
    )
    parser.add_argument("--version", action="version", version=f"%(prog)s {__version__}")
    commands = parser.add_subparsers(dest="command", required=True, metavar="COMMAND")
    parse = commands.add_parser("parse", help="parse PDF files", description="Parse PDF files.")
    parse.add_argument("files", nargs="+", metavar="FILE", help="PDF files to parse")
    parse.add_argument("--format", choices=tuple(_FORMATS), default="markdown",
                       help="output format (default: markdown); chunks is JSON Lines, one chunk "
                            "per line")
    parse.add_argument("-o", "--output", metavar="DIR",
                       help="write DIR/<name>.md, .json or .jsonl per input instead of printing")
    parse.add_argument("--media-dir", metavar="DIR",
                       help="save figure images into DIR and link them from the Markdown")
    parse.add_argument("--indent", type=_count, default=None, metavar="N",
                       help="indent JSON by N spaces (default: compact)")
    parse.add_argument("--max-tokens", type=_positive, default=512, metavar="N",
                       help="chunks of at most N tokens, about 4 characters each (default: 512)")
    parse.add_argument("--profile", choices=_PROFILES, default="balanced",
                       help="parse profile (default: balanced)")
    # Choices are checked against the package's own lists once a parse runs, so that --version and
    # --help never load the native module.
    parse.add_argument("--backend", default="pdfium",
                       help="PDF backend: pdfium (default) or builtin (any file is a blank page)")
    parse.add_argument("--layout", default="enhanced",
                       help="layout analysis: enhanced (default), or spec for the plain "
                            "page-by-page passes")
    parse.add_argument("--use-outline", action="store_true",
                       help="let the PDF's bookmarks name the headings and their levels")
    parse.add_argument("--ocr", default="auto",
                       help="read pages through Tesseract: auto (default: scanned pages and "
                            "pages without Unicode text), force (every page) or off")
    parse.add_argument("--ocr-lang", default="eng", metavar="LANGS",
                       help="Tesseract languages joined by '+' (default: eng), e.g. eng+deu")
    parse.add_argument("-j", "--jobs", type=_positive, default=None, metavar="N",
                       help="parse N files at a time (default: one per core, at most 8)")
    parse.add_argument("-q", "--quiet", action="store_true",
                       help="do not print warnings (figures that could not be saved)")
    return parser


def _at_least(least, what):
    def convert(text):
        try:
            value = int(text)
        except ValueError:
            value = least - 1
        if value < least:
            raise argparse.ArgumentTypeError(f"expected a {what} integer, got {text!r}")
        return value
    return convert


_positive = _at_least(1, "positive")
_count = _at_least(0, "non-negative")


def _render(document, args, file, target):
    """The output text for one parsed file; `target` is the file it goes to, None for stdout."""
    import json

    import vorlin_reader
    from vorlin_reader import _native

    if args.format == "markdown":
        if args.media_dir is None:
            return document.to_markdown()
        # Links work from where the Markdown is read: its own folder, or here for stdout.
        media = args.media_dir if target is None else os.path.relpath(
            args.media_dir, os.path.dirname(os.path.abspath(target)))
        return vorlin_reader.to_markdown(document, figures="linked", media_dir=media)
    if args.format == "chunks":
        return "".join(json.dumps({**piece, "source": file}, ensure_ascii=False,
                                  separators=(",", ":")) + "\n"
                       for piece in vorlin_reader.chunk(document, max_tokens=args.max_tokens))
    text = _native._graph_json_text(document)
    if args.indent is not None:
        text = json.dumps(json.loads(text), indent=args.indent, ensure_ascii=False)
    return text + "\n"


def _write_atomically(path, text):
    """The file appears complete or not at all: a temporary file beside it, then a rename."""
    folder = os.path.dirname(path) or "."
    handle, temporary = tempfile.mkstemp(dir=folder, prefix=".vorlin-", suffix=".tmp")
    try:
        with os.fdopen(handle, "w", encoding="utf-8", newline="") as stream:
            stream.write(text)
        os.chmod(temporary, 0o666 & ~_umask())
        os.replace(temporary, path)
    except BaseException:
        try:
            os.unlink(temporary)
        except OSError:
            pass
        raise


def _umask():
    mask = os.umask(0)
    os.umask(mask)
    return mask


def _output_paths(files, folder, suffix):
    """DIR/<stem><suffix> per input; a stem seen before gets -2, -3... so nothing is overwritten."""
    seen = {}
    paths = []
    for file in files:
        stem = os.path.splitext(os.path.basename(os.path.normpath(file)))[0] or "document"
        count = seen.get(stem, 0) + 1
        seen[stem] = count
        name = stem if count == 1 else f"{stem}-{count}"
        paths.append(os.path.join(folder, name + suffix))
    return paths


def _explain(error):
    """The message a user sees for a failed file."""
    text = str(error) or type(error).__name__
    if "pdfium native library could not be loaded" in text:
        text += " (install it with: pip install pypdfium2)"
    return text


def _show_warnings():
    """The engine's warnings (a figure that could not be saved) go to stderr."""
    import logging

    handler = logging.StreamHandler(sys.stderr)
    handler.setFormatter(logging.Formatter("vorlin-reader: warning: %(message)s"))
    logger = logging.getLogger("vorlin_reader")
    logger.addHandler(handler)
    logger.setLevel(logging.WARNING)


class _Progress:
    """A progress bar on a terminal for several files, nothing otherwise."""

    def __init__(self, total):
        self.bar = None
        if total >= 2 and sys.stderr.isatty():
            from tqdm import tqdm

            self.bar = tqdm(total=total, file=sys.stderr, unit="file", leave=False)

    def advance(self, count):
        if self.bar is not None:
            self.bar.update(count)

    def close(self):
        if self.bar is not None:
            self.bar.close()


def _run_parse(args):
    import vorlin_reader
    from vorlin_reader import _api

    try:
        _api.ocr_argument(args.ocr, args.ocr_lang, 300)
    except ValueError as error:
        print(f"vorlin-reader: {error}", file=sys.stderr)
        return 2

    if not args.quiet:
        _show_warnings()
    options = vorlin_reader.ParseOptions(profile=args.profile, media_dir=args.media_dir)
    targets = [None] * len(args.files)
    if args.output is not None:
        try:
            os.makedirs(args.output, exist_ok=True)
        except OSError as error:
            print(f"vorlin-reader: cannot create output directory {args.output}: "
                  f"{error.strerror or error}", file=sys.stderr)
            return 1
        targets = _output_paths(args.files, args.output, _FORMATS[args.format])

    jobs = args.jobs or _api.default_workers()
    # A few files per worker at a time: outputs stream in input order while memory stays bounded.
    chunk = 4 * jobs
    failed = 0
    progress = _Progress(len(args.files))
    try:
        for start in range(0, len(args.files), chunk):
            files = args.files[start:start + chunk]
            outcomes = _api.parse_outcomes(files, options, backend=args.backend,
                                           layout=args.layout, workers=jobs, ocr=args.ocr,
                                           ocr_languages=args.ocr_lang,
                                           use_outline=args.use_outline)
            for file, target, outcome in zip(files, targets[start:start + chunk], outcomes):
                try:
                    if isinstance(outcome, BaseException):
                        raise outcome
                    text = _render(outcome, args, file, target)
                    if target is None:
                        sys.stdout.write(text)
                        sys.stdout.flush()
                    else:
                        _write_atomically(target, text)
                except (BrokenPipeError, KeyboardInterrupt):
                    raise
                except BaseException as error:  # noqa: BLE001 - one file's failure never stops the rest
                    failed += 1
                    print(f"{file}: {_explain(error)}", file=sys.stderr)
            progress.advance(len(files))
    finally:
        progress.close()
    return 1 if failed else 0


def _check_choices(parser, args):
    from vorlin_reader import _api

    for option, value, choices in (("--backend", args.backend, _api.BACKENDS),
                                   ("--layout", args.layout, _api.LAYOUTS),
                                   ("--ocr", args.ocr, _api.OCR_MODES)):
        if value not in choices:
            parser.error(f"argument {option}: invalid choice: {value!r} "
                         f"(choose from {', '.join(map(repr, choices))})")
    if args.indent is not None and args.format != "json":
        parser.error("argument --indent: applies to --format json only")


def main(argv=None):
    parser = _parser()
    args = parser.parse_args(argv)
    _check_choices(parser, args)
    try:
        return _run_parse(args)
    except KeyboardInterrupt:
        return 130
    except BrokenPipeError:
        # The reader went away (e.g. `| head`): stop quietly, without a traceback at exit.
        os.dup2(os.open(os.devnull, os.O_WRONLY), sys.stdout.fileno())
        return 1
