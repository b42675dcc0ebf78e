"""parse / parse_bytes / parse_batch with a choice of backend and layout.

"pdfium" (the default) reads real PDFs through a private copy of the PDFium library that the
pypdfium2 wheel ships; "builtin" needs no PDF library (any readable file is one blank page).
Parsing releases the GIL, so other threads run meanwhile, and parse_batch spreads files over
threads.
"""

import functools
import os
from collections.abc import Sequence

from vorlin_reader import _native
from vorlin_reader._pdfium_path import find_library

BACKENDS = ("builtin", "pdfium")
LAYOUTS = _native._LAYOUTS  # the default first
OCR_MODES = _native._OCR_MODES  # the default first
# Tesseract as the system loader finds it; VORLIN_TESSERACT_LIBRARY names another copy.
_TESSERACT = "libtesseract.so.5"
# The engine keeps one PDFium instance per worker and can hold eight.
MAX_WORKERS = 8

PathLike = "str | bytes | os.PathLike[str] | os.PathLike[bytes]"


@functools.lru_cache(maxsize=1)
def _pdfium_library():
    # A bare name leaves the search to the system loader when pypdfium2 is absent.
    return find_library() or "libpdfium.so"


def _engine(backend, layout, max_image_pixels, use_outline):
    """The native functions' leading arguments: (library or None, layout, max_image_pixels,
    use_outline)."""
    if backend not in BACKENDS:
        raise ValueError(f"backend must be one of {' / '.join(BACKENDS)}, got {backend!r}")
    if layout not in LAYOUTS:
        raise ValueError(f"layout must be one of {' / '.join(LAYOUTS)}, got {layout!r}")
    library = _pdfium_library() if backend == "pdfium" else None
    return library, layout, max_image_pixels, bool(use_outline)


def ocr_argument(ocr, languages, dpi):
    """The native `ocr` argument: None, or (mode, languages, dpi, library)."""
    if ocr not in OCR_MODES:
        raise ValueError(f"ocr must be one of {' / '.join(OCR_MODES)}, got {ocr!r}")
    if not isinstance(languages, str) or not languages.strip("+") or any(
            not (part.isascii() and part.replace("_", "").isalnum())
            for part in languages.split("+")):
        raise ValueError(f"ocr_languages must be Tesseract language names joined by '+', "
                         f"e.g. 'eng+deu', got {languages!r}")
    if isinstance(dpi, bool) or not isinstance(dpi, int) or not 50 <= dpi <= 1200:
        raise ValueError(f"ocr_dpi must be an integer from 50 to 1200, got {dpi!r}")
    if ocr == "off":
        return None
    return ocr, languages, dpi, os.environ.get("VORLIN_TESSERACT_LIBRARY") or _TESSERACT


def default_workers():
    """Threads parse_batch uses by default: the cores this process may run on, at most eight."""
    return max(1, min(len(os.sched_getaffinity(0)), MAX_WORKERS))


def parse(path: PathLike, options: "_native.ParseOptions | None" = None, *,
          backend: str = "pdfium", layout: str = "enhanced",
          max_image_pixels: "int | None" = None, use_outline: bool = False, ocr: str = "auto",
          ocr_languages: str = "eng", ocr_dpi: int = 300) -> "_native.Document":
    """Parse one PDF into a Document.

    path: str, bytes or os.PathLike; names that are not valid UTF-8 are passed through unchanged.
    backend: "pdfium" (reads the PDF) or "builtin" (any readable file is one blank page).
    layout: "enhanced" (columns, running headers, captions, lists, hyphenation) or "spec"
    (the plain page-by-page passes); only the "pdfium" backend has text to lay out.
    max_image_pixels: figures larger than this are not decoded when `options.media_dir` asks for
    images (a warning says so); None keeps the default of 64 megapixels.
    ocr: with the enhanced layout, "auto" reads scanned pages (images without a text layer) and
    pages whose fonts give no Unicode through Tesseract, "force" reads every page so, "off"
    never. Nodes read by OCR have provenance source "ocr" and their mean word confidence. Without
    Tesseract, "auto" parses as if "off" and logs one warning per document, "force" raises
    ValueError. ocr_languages: Tesseract's language names joined by "+" (e.g. "eng+deu");
    ocr_dpi: the resolution pages are rendered at for recognition.

    >>> doc = vorlin_reader.parse("paper.pdf")
    >>> print(doc.to_markdown())
    """
    return _native._parse(*_engine(backend, layout, max_image_pixels, use_outline),
                          os.fsencode(path), options, ocr=ocr_argument(ocr, ocr_languages, ocr_dpi))


def parse_bytes(data, options: "_native.ParseOptions | None" = None, *, name: str = "",
                backend: str = "pdfium", layout: str = "enhanced",
                max_image_pixels: "int | None" = None, use_outline: bool = False,
                ocr: str = "auto", ocr_languages: str = "eng",
                ocr_dpi: int = 300) -> "_native.Document":
    """Parse a PDF held in memory (bytes, bytearray, memoryview...), e.g. from an object store.

    The Document is the one parse() gives for a file with these bytes, hash included; `name`
    stands in for the file name (the graph's sourceFilename). The options are parse()'s.

    >>> doc = vorlin_reader.parse_bytes(response.content, name="report.pdf")
    """
    return _native._parse_bytes(*_engine(backend, layout, max_image_pixels, use_outline), data,
                                name, options, ocr=ocr_argument(ocr, ocr_languages, ocr_dpi))


def parse_outcomes(paths, options=None, *, backend="pdfium", layout="enhanced", workers=None,
                   max_image_pixels=None, use_outline=False, ocr="auto", ocr_languages="eng",
                   ocr_dpi=300):
    """Per path, in order, its Document or the exception parsing it raised (never raised here)."""
    engine = _engine(backend, layout, max_image_pixels, use_outline)
    ocr = ocr_argument(ocr, ocr_languages, ocr_dpi)
    outcomes = [None] * len(paths)
    encoded, positions = [], []
    for index, path in enumerate(paths):
        try:
            encoded.append(os.fsencode(path))
            positions.append(index)
        except (TypeError, ValueError) as error:  # not a path, or a str no file system can name
            outcomes[index] = error
    workers = default_workers() if workers is None else workers
    if workers < 1:
        raise ValueError(f"workers must be at least 1, got {workers}")
    # Each worker runs OCR for its own files, Tesseract on one thread.
    parsed = _native._parse_many(*engine, encoded, options, min(workers, MAX_WORKERS), ocr=ocr)
    for index, outcome in zip(positions, parsed):
        outcomes[index] = outcome
    return outcomes


def describe(error: BaseException) -> str:
    """"<ExceptionClass>: <message>", the text parse_batch gives for a failed path."""
    return f"{type(error).__qualname__}: {error}"


def _key(path):
    try:
        hash(path)
    except TypeError:
        return repr(path)
    return path


def parse_batch(paths: "Sequence[PathLike]", options: "_native.ParseOptions | None" = None, *,
                backend: str = "pdfium", layout: str = "enhanced", workers: "int | None" = None,
                max_image_pixels: "int | None" = None, use_outline: bool = False,
                ocr: str = "auto", ocr_languages: str = "eng",
                ocr_dpi: int = 300) -> "dict[object, _native.Document | str]":
    """Parse several PDFs on `workers` threads (default: one per core, at most eight).

    Returns {path: Document or "<ExceptionClass>: <message>"} in the order of `paths`, keyed by
    the paths as given; one bad path (missing, unreadable, not a path at all) never stops the
    others. The documents are the same as parsing the files one by one (the OCR options are
    parse()'s). Ctrl-C raises
    KeyboardInterrupt within a fraction of a second.

    >>> results = vorlin_reader.parse_batch(["a.pdf", "b.pdf"], workers=2)
    """
    if isinstance(paths, (str, bytes, os.PathLike)):
        raise TypeError("paths must be a sequence of paths, not a single path")
    paths = list(paths)
    outcomes = parse_outcomes(paths, options, backend=backend, layout=layout, workers=workers,
                              max_image_pixels=max_image_pixels, use_outline=use_outline,
                              ocr=ocr, ocr_languages=ocr_languages, ocr_dpi=ocr_dpi)
    results = {}
    for path, outcome in zip(paths, outcomes):
        results[_key(path)] = outcome if isinstance(outcome, _native.Document) else describe(outcome)
    return results
