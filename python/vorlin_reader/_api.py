"""parse / parse_batch with a choice of backend and layout.

"builtin" is exactly the native module's own functions; "pdfium" reads real PDFs through the
PDFium library that the pypdfium2 wheel ships.
"""

import functools
from collections.abc import Sequence

from vorlin_reader import _native
from vorlin_reader._pdfium_path import find_library

BACKENDS = ("builtin", "pdfium")
LAYOUTS = ("enhanced", "spec")


@functools.lru_cache(maxsize=1)
def _pdfium_library():
    # A bare name leaves the search to the system loader when pypdfium2 is absent.
    return find_library() or "libpdfium.so"


def _check(backend, layout):
    if backend not in BACKENDS:
        raise ValueError(f"backend must be one of {' / '.join(BACKENDS)}, got {backend!r}")
    if layout not in LAYOUTS:
        raise ValueError(f"layout must be one of {' / '.join(LAYOUTS)}, got {layout!r}")


def parse(path: str, options: "_native.ParseOptions | None" = None, *, backend: str = "builtin",
          layout: str = "enhanced") -> "_native.Document":
    """Parse one PDF into a Document.

    backend: "builtin" (any readable file is one blank page) or "pdfium" (reads the PDF).
    layout: "enhanced" (columns, running headers, captions, lists, hyphenation) or "spec"
    (the plain page-by-page passes); only the "pdfium" backend has text to lay out.
    """
    _check(backend, layout)
    if backend == "builtin":
        return _native.parse(path, options)
    return _native._parse_pdfium(_pdfium_library(), layout, path, options)


def parse_batch(paths: Sequence[str], options: "_native.ParseOptions | None" = None, *,
                backend: str = "builtin",
                layout: str = "enhanced") -> "dict[str, _native.Document | str]":
    """Parse several PDFs; returns {path: Document or "<ExceptionClass>: <message>"}."""
    _check(backend, layout)
    if backend == "builtin":
        return _native.parse_batch(paths, options)
    return _native._parse_batch_pdfium(_pdfium_library(), layout, paths, options)
