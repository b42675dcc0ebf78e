"""ParseOptions: defaults, conversions, validation, attributes and the representation."""

import pytest

from vorlin_reader._native import ParseOptions

DEFAULT_ENDPOINT = "http://127.0.0.1:11434"
PROFILE_ERROR = "profile must be one of fast / balanced / scientific, got "
FIELDS = ["profile", "use_ia", "max_concurrent_pages", "media_dir", "ollama_endpoint"]


def representation(profile="balanced", use_ia="true", pages="None", endpoint=DEFAULT_ENDPOINT):
    return (f'ParseOptions(profile="{profile}", use_ia={use_ia}, max_concurrent_pages={pages},'
            f' ollama_endpoint="{endpoint}")')


def test_defaults_positional_order_and_representation():
    defaults = ParseOptions()
    assert [getattr(defaults, name) for name in FIELDS] == [
        "balanced", True, None, None, DEFAULT_ENDPOINT]
    assert repr(defaults) == representation()
    options = ParseOptions("scientific", False, 2**64 - 1, "/media", "http://h:1")
    assert [getattr(options, name) for name in FIELDS] == [
        "scientific", False, 2**64 - 1, "/media", "http://h:1"]
    assert repr(options) == representation("scientific", "false", "Some(18446744073709551615)",
                                           "http://h:1")


@pytest.mark.parametrize("text, shown", [
        ("line\nfeed", r"line\nfeed"),
        ("\t\r\0\\\"'", r"\t\r\0\\\"'"),  # the short escapes; the single quote stays
        ("e\u0301\u200d", r"e\u{301}\u{200d}"),  # Grapheme_Extend, the second also a format char
        ("\x07\x7f\u00a0\u2028\ue000\u0378", r"\u{7}\u{7f}\u{a0}\u{2028}\u{e000}\u{378}"),
        ("caf\u00e9 \u65e5\u672c \u0436 \U0001f600", "caf\u00e9 \u65e5\u672c \u0436 \U0001f600"),
        ("Fast", "Fast"),
        ("fast ", "fast ")])
def test_quoting_rule_and_unknown_profiles(text, shown):
    assert repr(ParseOptions(ollama_endpoint=text)) == representation(endpoint=shown)
    with pytest.raises(ValueError) as caught:
        ParseOptions(profile=text)
    assert str(caught.value) == PROFILE_ERROR + f'"{shown}"'


def index(value):
    return type("Index", (), {"__index__": lambda self: value})()


def numpy_bool(truth, name="bool_"):
    """NumPy's bool scalar (named "bool" since NumPy 2) as the binding sees it."""

    def to_bool(self):
        if isinstance(truth, Exception):
            raise truth
        return truth

    return type(name, (), {"__module__": "numpy", "__bool__": to_bool})()


NOT_AN_INTEGER = "argument 'max_concurrent_pages': '{}' object cannot be interpreted as an integer"


# (field, value, exception, message or None when the interpreter's own message is kept)
@pytest.mark.parametrize("field, value, exception, message", [
        ("profile", 1, TypeError, "argument 'profile': 'int' object is not an instance of 'str'"),
        ("use_ia", 1, TypeError, "argument 'use_ia': 'int' object is not an instance of 'bool'"),
        ("use_ia", numpy_bool(TypeError("x"), "bool"), TypeError, "argument 'use_ia': x"),
        ("max_concurrent_pages", 1.5, TypeError, NOT_AN_INTEGER.format("float")),
        ("max_concurrent_pages", -1, OverflowError, None),
        ("max_concurrent_pages", 2**64, OverflowError, None),
        ("media_dir", 1, TypeError, "argument 'media_dir': 'int' object is not an instance of"
         " 'str'"),
        ("ollama_endpoint", None, TypeError,
         "argument 'ollama_endpoint': 'None' is not an instance of 'str'")])
def test_constructor_and_attribute_writes_refuse_alike(field, value, exception, message):
    options = ParseOptions(max_concurrent_pages=7, media_dir="/m")
    before = repr(options), getattr(options, field)
    for attempt in (lambda: ParseOptions(**{field: value}), lambda: setattr(options, field, value)):
        with pytest.raises(exception) as caught:
            attempt()
        assert type(caught.value) is exception
        if message is not None:
            assert str(caught.value) == message
        else:
            assert not str(caught.value).startswith("argument ")
    assert (repr(options), getattr(options, field)) == before


def test_conversions_run_in_field_order_and_precede_validation():
    with pytest.raises(TypeError, match="^argument 'use_ia': "):
        ParseOptions(profile="nope", use_ia=1, max_concurrent_pages=-1)
    with pytest.raises(OverflowError):
        ParseOptions(profile="nope", max_concurrent_pages=-1)


@pytest.mark.parametrize("field, value, expected", [
        ("use_ia", numpy_bool(False), False),
        ("use_ia", numpy_bool(True), True),
        ("max_concurrent_pages", index(12), 12),
        ("max_concurrent_pages", True, 1),
        ("max_concurrent_pages", None, None),
        ("media_dir", None, None)])
def test_accepted_conversions(field, value, expected):
    assert getattr(ParseOptions(**{field: value}), field) == expected
    options = ParseOptions(max_concurrent_pages=1, media_dir="/m")
    setattr(options, field, value)
    assert getattr(options, field) == expected
    assert type(getattr(options, field)) is type(expected)


@pytest.mark.parametrize("field", FIELDS)
def test_attributes_cannot_be_deleted(field):
    options = ParseOptions()
    with pytest.raises(AttributeError, match="^property has no deleter$"):
        delattr(options, field)
    assert repr(options) == representation()
