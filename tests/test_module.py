"""The module surface: members, docstrings, argument binding and conversion, parse failures."""

import hashlib
import importlib
import logging
import pathlib
import sys

import pytest

import vorlin_reader
import vorlin_reader._native as native
from vorlin_reader._native import ParseOptions, parse, parse_batch

PUBLIC = ["version", "parse", "parse_batch", "ParseOptions", "Document"]


def test_version_is_the_core_version():
    assert native.version() == "0.1.1"


def test_public_members_are_the_five_in_order():
    assert [name for name in vars(native) if not name.startswith("_")] == PUBLIC


def test_package_reexports_the_classes_and_wraps_the_functions():
    assert vorlin_reader.__all__ == PUBLIC
    for name in ("version", "ParseOptions", "Document"):
        assert getattr(vorlin_reader, name) is getattr(native, name)
    # parse / parse_batch add the backend choice; with the built-in backend they are the module's.
    assert callable(vorlin_reader.parse) and callable(vorlin_reader.parse_batch)


@pytest.fixture
def reimported():
    """A second module object from a fresh import; the original is put back afterwards."""
    saved = sys.modules.pop("vorlin_reader._native")
    try:
        yield importlib.import_module("vorlin_reader._native")
    finally:
        sys.modules["vorlin_reader._native"] = saved
        vorlin_reader._native = saved


def test_a_second_import_shares_the_classes_and_the_log_bridge(reimported, hooks, caplog):
    assert reimported is not native
    assert reimported.ParseOptions is native.ParseOptions
    assert reimported.Document is native.Document
    assert [name for name in vars(reimported) if not name.startswith("_")] == PUBLIC
    with caplog.at_level(logging.WARNING, logger="vorlin_reader._native"):
        hooks.warn("once")
    assert [r.getMessage() for r in caplog.records] == ["once"]


@pytest.mark.parametrize(
    "obj, signature",
    [
        (native.version, "()"),
        (native.parse, "(path, options=None)"),
        (native.parse_batch, "(paths, options=None)"),
        (
            native.ParseOptions,
            "(profile=..., use_ia=True, max_concurrent_pages=None, media_dir=None,"
            " ollama_endpoint=...)",
        ),
        (native.Document.to_markdown, "($self)"),
        (native.Document.to_graph_json, "($self)"),
    ],
)
def test_text_signatures(obj, signature):
    assert obj.__text_signature__ == signature


@pytest.mark.parametrize(
    "obj, doc",
    [
        (
            native.parse_batch,
            "Parse several PDFs. Returns a dict `{path: Document}` so callers can\n"
            "quickly distinguish results from failures.",
        ),
        (
            native.ParseOptions,
            "Caller-tunable knobs for [`parse`] / [`parse_batch`].\n\n"
            "All fields default to the same values as the CLI subcommand (Plan \u00a714.T9.3).",
        ),
        (
            native.Document,
            "Lightweight wrapper around `vorlin_core::Document` that exposes only\n"
            "the two methods the Python side needs.",
        ),
        (
            native.Document.to_markdown,
            "Render this document to GFM Markdown for Vector-RAG ingestion.",
        ),
        (
            native.Document.to_graph_json,
            "Render this document to the Graph-RAG JSON shape. Returns a Python\n"
            "dict (parsed from the canonical JSON) so consumers can poke at\n"
            "nodes / edges without round-tripping through string parsing.",
        ),
    ],
)
def test_docstrings(obj, doc):
    assert obj.__doc__ == doc


@pytest.mark.parametrize("cls", [native.ParseOptions, native.Document])
def test_classes_report_the_module(cls):
    assert cls.__module__ == "vorlin_reader._native"


@pytest.mark.parametrize(
    "call, message",
    [
        (lambda: parse(), "parse() missing 1 required positional argument: 'path'"),
        (lambda: parse(options=None), "parse() missing 1 required positional argument: 'path'"),
        (lambda: parse("a", pat=1), "parse() got an unexpected keyword argument 'pat'"),
        (lambda: parse("a", path="b"), "parse() got multiple values for argument 'path'"),
        (
            lambda: parse("a", None, options=None),
            "parse() got multiple values for argument 'options'",
        ),
        (
            lambda: parse("a", None, 3),
            "parse() takes from 1 to 2 positional arguments but 3 were given",
        ),
        (lambda: parse_batch(), "parse_batch() missing 1 required positional argument: 'paths'"),
        (
            lambda: parse_batch([], path=1),
            "parse_batch() got an unexpected keyword argument 'path'",
        ),
        (
            lambda: ParseOptions("fast", True, None, None, "x", 6),
            "ParseOptions() takes from 0 to 5 positional arguments but 6 were given",
        ),
        (
            lambda: ParseOptions(speed=1),
            "ParseOptions() got an unexpected keyword argument 'speed'",
        ),
        (
            lambda: ParseOptions("fast", profile="fast"),
            "ParseOptions() got multiple values for argument 'profile'",
        ),
    ],
)
def test_binding_errors_use_the_interpreters_wording(call, message):
    with pytest.raises(TypeError) as caught:
        call()
    assert str(caught.value) == message


def test_version_takes_no_arguments():
    with pytest.raises(TypeError, match=r"version\(\) takes no arguments \(1 given\)$"):
        native.version(1)


@pytest.mark.parametrize(
    "path, message",
    [
        (123, "argument 'path': 'int' object is not an instance of 'str'"),
        (b"/tmp/x.pdf", "argument 'path': 'bytes' object is not an instance of 'str'"),
        (
            pathlib.Path("/tmp/x.pdf"),
            "argument 'path': 'PosixPath' object is not an instance of 'str'",
        ),
        (None, "argument 'path': 'None' is not an instance of 'str'"),
    ],
)
def test_parse_refuses_a_path_that_is_not_str(path, message):
    with pytest.raises(TypeError) as caught:
        parse(path)
    assert str(caught.value) == message


@pytest.mark.parametrize(
    "options, message",
    [
        ({}, "argument 'options': 'dict' object is not an instance of 'ParseOptions'"),
        (1, "argument 'options': 'int' object is not an instance of 'ParseOptions'"),
        ("fast", "argument 'options': 'str' object is not an instance of 'ParseOptions'"),
    ],
)
def test_parse_refuses_options_that_are_not_parse_options(sample_pdf, options, message):
    with pytest.raises(TypeError) as caught:
        parse(sample_pdf[0], options)
    assert str(caught.value) == message


def test_path_is_converted_before_options():
    with pytest.raises(TypeError, match="^argument 'path': "):
        parse(1, {})


def test_unencodable_path_keeps_the_interpreters_error():
    with pytest.raises(UnicodeEncodeError):
        parse("bad\udcffpath")


def test_str_subclass_is_accepted_as_path(sample_pdf):
    class Text(str):
        pass

    assert len(parse(Text(sample_pdf[0]))) == 1


@pytest.mark.parametrize("relative", [False, True])
def test_missing_file_raises_file_not_found(tmp_path, monkeypatch, relative):
    monkeypatch.chdir(tmp_path)
    path = "missing.pdf" if relative else str(tmp_path / "missing.pdf")
    with pytest.raises(FileNotFoundError) as caught:
        parse(path)
    assert isinstance(caught.value, OSError)
    assert str(caught.value) == "PDF not found: " + path
    assert caught.value.args == ("PDF not found: " + path,)


def test_path_with_nul_is_not_found():
    with pytest.raises(FileNotFoundError) as caught:
        parse("/tmp/a\0b.pdf")
    assert str(caught.value) == "PDF not found: /tmp/a\0b.pdf"


def test_directory_fails_to_open(tmp_path):
    with pytest.raises(ValueError) as caught:
        parse(str(tmp_path))
    assert str(caught.value).startswith(f"failed to open PDF: failed to read PDF at {tmp_path}")
    assert type(caught.value) is ValueError


@pytest.mark.parametrize(
    "content",
    [b"", b"not a pdf at all", bytes(range(256)) * 40, b"%PDF-1.7\n%%EOF\n"],
    ids=["empty", "text", "binary", "pdf-header"],
)
def test_any_readable_file_is_one_page_with_its_sha256(make_file, content):
    path, digest = make_file(content)
    document = parse(path)
    assert len(document) == 1
    assert repr(document) == f"Document(pages=1, sha256={digest})"
    assert digest == hashlib.sha256(content).hexdigest()


def test_options_none_and_omitted_give_the_default_profile(sample_pdf):
    path = sample_pdf[0]
    for document in (parse(path), parse(path, None), parse(path, options=None)):
        assert document.to_graph_json()["meta"]["profile"] == "balanced"


def test_profile_is_copied_into_the_document(sample_pdf):
    options = ParseOptions(profile="scientific")
    assert parse(sample_pdf[0], options).to_graph_json()["meta"]["profile"] == "scientific"


def test_options_are_copied_when_parse_is_called(sample_pdf):
    options = ParseOptions(profile="fast")
    document = parse(sample_pdf[0], options)
    options.profile = "turbo"
    assert document.to_graph_json()["meta"]["profile"] == "fast"
    # A profile set through the attribute is not validated and reaches the next parse as is.
    assert parse(sample_pdf[0], options).to_graph_json()["meta"]["profile"] == "turbo"


def test_parse_with_another_backend_uses_the_same_path(hooks, sample_pdf):
    document = hooks.parse_with_image(sample_pdf[0], ParseOptions(profile="fast"))
    assert type(document) is native.Document
    assert repr(document) == f"Document(pages=1, sha256={sample_pdf[1]})"
    with pytest.raises(FileNotFoundError, match="^PDF not found: /nonexistent$"):
        hooks.parse_with_image("/nonexistent")


class TestInternalFaults:
    def test_broken_invariant_raises_panic_exception(self, hooks, sample_pdf):
        with pytest.raises(BaseException) as caught:
            hooks.parse_with_logic_error(sample_pdf[0])
        panic = type(caught.value)
        assert panic.__name__ == "PanicException"
        assert issubclass(panic, BaseException)
        assert not issubclass(panic, Exception)
        assert str(caught.value) == "fake page index fault"

    def test_panic_exception_is_not_a_module_member(self, hooks, sample_pdf):
        with pytest.raises(BaseException) as caught:
            hooks.parse_with_logic_error(sample_pdf[0])
        assert type(caught.value) not in vars(native).values()

    def test_panic_exception_is_one_class(self, hooks, sample_pdf):
        types = set()
        for _ in range(2):
            with pytest.raises(BaseException) as caught:
                hooks.parse_with_logic_error(sample_pdf[0])
            types.add(type(caught.value))
        assert len(types) == 1

    def test_failed_allocation_raises_memory_error(self, hooks, sample_pdf):
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
