"""The module surface: members, argument binding and conversion, parse failures."""

import importlib
import importlib.metadata
import logging
import pathlib
import sys

import pytest

import vorlin_reader
import vorlin_reader._native as native
from vorlin_reader._native import ParseOptions, parse, parse_batch

PUBLIC = ["version", "parse", "parse_batch", "ParseOptions", "Document"]


def test_members_and_the_package_reexports():
    # The wheel's metadata and the C++ build both take the version from the package.
    assert native.version() == importlib.metadata.version("vorlin-reader")
    assert [name for name in vars(native) if not name.startswith("_")] == PUBLIC
    assert set(vorlin_reader.__all__) == {*PUBLIC, "parse_bytes", "__version__", "to_markdown",
                                          "chunk"}
    for name in ("version", "ParseOptions", "Document"):
        assert getattr(vorlin_reader, name) is getattr(native, name)
    assert native.ParseOptions.__module__ == native.Document.__module__ == "vorlin_reader._native"


@pytest.fixture
def reimported():
    """A second module object from a fresh import; the original is put back afterwards."""
    saved = sys.modules.pop("vorlin_reader._native")
    try:
        yield importlib.import_module("vorlin_reader._native")
    finally:
        sys.modules["vorlin_reader._native"] = vorlin_reader._native = saved


def test_a_second_import_shares_the_classes_and_the_log_bridge(reimported, hooks, caplog):
    assert reimported is not native
    assert (reimported.ParseOptions, reimported.Document) == (native.ParseOptions, native.Document)
    with caplog.at_level(logging.WARNING, logger="vorlin_reader._native"):
        hooks.warn("once")
    assert [r.getMessage() for r in caplog.records] == ["once"]


NOT_STR = "argument 'path': '{}' object is not an instance of 'str'"
NOT_OPTIONS = "argument 'options': '{}' object is not an instance of 'ParseOptions'"


@pytest.mark.parametrize("call, message", [
        (lambda: parse(), "parse() missing 1 required positional argument: 'path'"),
        (lambda: parse("a", pat=1), "parse() got an unexpected keyword argument 'pat'"),
        (lambda: parse("a", path="b"), "parse() got multiple values for argument 'path'"),
        (lambda: parse("a", None, 3),
         "parse() takes from 1 to 2 positional arguments but 3 were given"),
        (lambda: ParseOptions("fast", profile="fast"),
         "ParseOptions() got multiple values for argument 'profile'"),
        (lambda: ParseOptions("fast", True, None, None, "x", 6),
         "ParseOptions() takes from 0 to 5 positional arguments but 6 were given"),
        (lambda: ParseOptions(speed=1),
         "ParseOptions() got an unexpected keyword argument 'speed'"),
        (lambda: parse(pathlib.Path("/tmp/x.pdf")), NOT_STR.format("PosixPath")),
        (lambda: parse(None), "argument 'path': 'None' is not an instance of 'str'"),
        (lambda: parse(1, {}), NOT_STR.format("int")),  # path is converted before options
        (lambda: parse("a.pdf", {}), NOT_OPTIONS.format("dict")),
        (lambda: parse_batch([], 1), NOT_OPTIONS.format("int")),
        (lambda: native.version(1),
         "vorlin_reader._native.version() takes no arguments (1 given)")])
def test_binding_and_conversion_errors(call, message):
    with pytest.raises(TypeError) as caught:
        call()
    assert str(caught.value) == message


def test_unencodable_path_keeps_the_interpreters_error():
    with pytest.raises(UnicodeEncodeError):
        parse("bad\udcffpath")


@pytest.mark.parametrize("path", ["{tmp}/missing.pdf", "/tmp/a\0b.pdf"])
def test_missing_file_raises_file_not_found_with_the_path_as_given(tmp_path, path):
    path = path.format(tmp=tmp_path)
    with pytest.raises(FileNotFoundError) as caught:
        parse(type("Text", (str,), {})(path))  # a str subclass is a path too
    assert caught.value.args == ("PDF not found: " + path,)


def test_any_readable_file_is_one_page_with_its_sha256(make_file):
    for content in (b"", bytes(range(256)) * 40):
        path, digest = make_file(content)
        document = parse(path)
        assert len(document) == 1
        assert repr(document) == str(document) == f"Document(pages=1, sha256={digest})"


def test_options_are_copied_when_parse_is_called(sample_pdf):
    path = sample_pdf[0]
    for document in (parse(path), parse(path, None), parse(path, options=None)):
        assert document.to_graph_json()["meta"]["profile"] == "balanced"
    options = ParseOptions(profile="scientific")
    document = parse(path, options)
    options.profile = "turbo"
    assert document.to_graph_json()["meta"]["profile"] == "scientific"
    # A profile set through the attribute is not validated and reaches the next parse as is.
    assert parse(path, options).to_graph_json()["meta"]["profile"] == "turbo"


def test_broken_invariant_raises_one_panic_exception_class(hooks, sample_pdf):
    panics = set()
    for _ in range(2):
        with pytest.raises(BaseException, match="^fake page index fault$") as caught:
            hooks.parse_with_logic_error(sample_pdf[0])
        panics.add(type(caught.value))
    (panic,) = panics
    assert panic.__name__ == "PanicException"
    assert not issubclass(panic, Exception)
    assert panic not in vars(native).values()


def test_failed_allocation_raises_memory_error(hooks, sample_pdf):
    with pytest.raises(MemoryError):
        hooks.parse_with_bad_alloc(sample_pdf[0])


def test_a_subinterpreter_cannot_load_the_module():
    # The classes are shared by the process; a second interpreter must not reuse them.
    subinterpreters = pytest.importorskip("_xxsubinterpreters")
    interpreter = subinterpreters.create()
    try:
        with pytest.raises(subinterpreters.RunFailedError, match="one interpreter per process"):
            subinterpreters.run_string(interpreter, "import vorlin_reader._native")
    finally:
        subinterpreters.destroy(interpreter)
    assert len(parse(__file__)) == 1
