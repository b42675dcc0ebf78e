"""Shared fixtures: sample files and the native test hooks."""

import ctypes
import hashlib

import pytest

import vorlin_reader._native as native


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


class Hooks:
    """Test-only C entry points of the extension (not module members), called with the GIL held."""

    def __init__(self):
        library = ctypes.PyDLL(native.__file__)
        self._parse = library.vorlin_testing_parse
        self._parse.argtypes = [ctypes.py_object, ctypes.py_object, ctypes.c_int]
        self._parse.restype = ctypes.py_object
        self._warn = library.vorlin_testing_warn
        self._warn.argtypes = [ctypes.py_object]
        self._warn.restype = ctypes.py_object

    def parse_with_image(self, path, options=None):
        return self._parse(path, options, 0)

    def parse_with_logic_error(self, path):
        return self._parse(path, None, 1)

    def parse_with_bad_alloc(self, path):
        return self._parse(path, None, 2)

    def warn(self, message):
        return self._warn(message)


@pytest.fixture(scope="session")
def hooks():
    return Hooks()
