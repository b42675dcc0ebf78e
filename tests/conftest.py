"""Shared fixtures: sample files and the native test hooks."""

import ctypes
import hashlib
import types

import pytest

import vorlin_reader._native as native
from vorlin_reader._pdfium_path import find_library


@pytest.fixture(scope="session")
def pdfium():
    """Skips the tests that use it when no PDFium library is installed."""
    if find_library() is None:
        pytest.skip("PDFium unavailable: pypdfium2 is not installed")


@pytest.fixture
def make_file(tmp_path):
    """Writes `content` to a new file and returns (path as str, its SHA-256 hex digest)."""

    def make(content: bytes, name: str = "sample.pdf"):
        path = tmp_path / name
        path.write_bytes(content)
        return str(path), hashlib.sha256(content).hexdigest()

    return make


@pytest.fixture
def sample_pdf(make_file):
    return make_file(b"%PDF-1.4\n1 0 obj << >> endobj\ntrailer << >>\n%%EOF\n")


@pytest.fixture(scope="session")
def hooks():
    """Test-only C entry points of the extension (not module members), called with the GIL held."""
    library = ctypes.PyDLL(native.__file__)
    if not hasattr(library, "vorlin_testing_warn"):
        pytest.fail(f"{native.__file__} lacks the test hooks: install it the way scripts/test.sh "
                    "does, with -C cmake.define.VORLIN_TEST_HOOKS=ON", pytrace=False)
    parse, warn = library.vorlin_testing_parse, library.vorlin_testing_warn
    parse.argtypes, warn.argtypes = [ctypes.py_object, ctypes.c_int], [ctypes.py_object]
    parse.restype = warn.restype = ctypes.py_object
    return types.SimpleNamespace(parse_with_logic_error=lambda path: parse(path, 1),
                                 parse_with_bad_alloc=lambda path: parse(path, 2), warn=warn)
