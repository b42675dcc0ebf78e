"""Locates the PDFium shared library without importing pypdfium2 (which is slow to import)."""

import importlib.util
import os

_LIBRARY_NAME = "libpdfium.so"


def find_library():
    """Path of the libpdfium.so shipped in pypdfium2's wheel, or None when it isn't installed.

    None lets the native loader fall back to the system search path.
    """
    try:
        spec = importlib.util.find_spec("pypdfium2_raw")
    except (ImportError, ValueError):
        return None
    for folder in (spec.submodule_search_locations or []) if spec else []:
        candidate = os.path.join(folder, _LIBRARY_NAME)
        if os.path.isfile(candidate):
            return candidate
    return None
