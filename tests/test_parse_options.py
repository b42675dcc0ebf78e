"""ParseOptions: defaults, conversions, validation, attributes and the representation."""

import re
import unicodedata

import pytest
from hypothesis import given
from hypothesis import strategies as st

from vorlin_reader._native import ParseOptions

DEFAULT_ENDPOINT = "http://127.0.0.1:11434"
PROFILE_ERROR = "profile must be one of fast / balanced / scientific, got "
FIELDS = ["profile", "use_ia", "max_concurrent_pages", "media_dir", "ollama_endpoint"]


def representation(profile="balanced", use_ia="true", pages="None", endpoint=DEFAULT_ENDPOINT):
    return (
        f'ParseOptions(profile="{profile}", use_ia={use_ia}, max_concurrent_pages={pages},'
        f' ollama_endpoint="{endpoint}")'
    )


def test_defaults_and_positional_field_order():
    defaults = ParseOptions()
    assert [getattr(defaults, name) for name in FIELDS] == [
        "balanced", True, None, None, DEFAULT_ENDPOINT,
    ]
    assert repr(defaults) == representation()
    options = ParseOptions("fast", False, 3, "/media", "http://h:1")
    assert [getattr(options, name) for name in FIELDS] == ["fast", False, 3, "/media", "http://h:1"]


@pytest.mark.parametrize(
    "kwargs, expected",
    [
        ({"max_concurrent_pages": 4}, representation(pages="Some(4)")),
        ({"max_concurrent_pages": 0}, representation(pages="Some(0)")),
        ({"max_concurrent_pages": 2**64 - 1}, representation(pages="Some(18446744073709551615)")),
        ({"use_ia": False}, representation(use_ia="false")),
        ({"media_dir": "/tmp/figures"}, representation()),
        ({"profile": "scientific"}, representation(profile="scientific")),
    ],
)
def test_representation(kwargs, expected):
    assert repr(ParseOptions(**kwargs)) == expected


@pytest.mark.parametrize(
    "text, shown",
    [
        ("line\nfeed", r"line\nfeed"),
        ("\t\r\0\\\"'", r"\t\r\0\\\"'"),  # the short escapes; the single quote stays
        ("e\u0301\u200d", r"e\u{301}\u{200d}"),  # Grapheme_Extend, the second also a format char
        ("\x07\x7f\u00a0\u2028\ue000\u0378", r"\u{7}\u{7f}\u{a0}\u{2028}\u{e000}\u{378}"),
        ("caf\u00e9 \u65e5\u672c \u0436 \U0001f600", "caf\u00e9 \u65e5\u672c \u0436 \U0001f600"),
        ("", ""),
    ],
)
def test_quoting_rule(text, shown):
    assert repr(ParseOptions(ollama_endpoint=text)) == representation(endpoint=shown)
    with pytest.raises(ValueError) as caught:
        ParseOptions(profile=text)
    assert str(caught.value) == PROFILE_ERROR + f'"{shown}"'


@pytest.mark.parametrize("profile", ["Fast", "Balanced", "SCIENTIFIC", " fast", "fast ", "turbo"])
def test_unknown_profiles_are_refused_byte_for_byte(profile):
    with pytest.raises(ValueError) as caught:
        ParseOptions(profile=profile)
    assert str(caught.value) == PROFILE_ERROR + f'"{profile}"'


def index(value):
    return type("Index", (), {"__index__": lambda self: value})()


def numpy_bool(truth, name="bool_"):
    """NumPy's bool scalar (named "bool" since NumPy 2) as the binding sees it."""

    def to_bool(self):
        if isinstance(truth, Exception):
            raise truth
        return truth

    return type(name, (), {"__module__": "numpy", "__bool__": to_bool})()


ENDPOINT_PREFIX = "argument 'ollama_endpoint': "
PAGES_PREFIX = "argument 'max_concurrent_pages': "
NOT_AN_INTEGER = "object cannot be interpreted as an integer"

# (field, value, exception, message or None when the interpreter's own message is kept)
CONVERSION_ERRORS = [
    ("profile", 1, TypeError, "argument 'profile': 'int' object is not an instance of 'str'"),
    ("profile", None, TypeError, "argument 'profile': 'None' is not an instance of 'str'"),
    ("profile", b"x", TypeError, "argument 'profile': 'bytes' object is not an instance of 'str'"),
    ("use_ia", 1, TypeError, "argument 'use_ia': 'int' object is not an instance of 'bool'"),
    ("use_ia", 0, TypeError, "argument 'use_ia': 'int' object is not an instance of 'bool'"),
    ("use_ia", None, TypeError, "argument 'use_ia': 'None' is not an instance of 'bool'"),
    ("use_ia", "true", TypeError, "argument 'use_ia': 'str' object is not an instance of 'bool'"),
    ("use_ia", numpy_bool(TypeError("no truth"), "bool"), TypeError, "argument 'use_ia': no truth"),
    ("max_concurrent_pages", 1.5, TypeError, PAGES_PREFIX + "'float' " + NOT_AN_INTEGER),
    ("max_concurrent_pages", "4", TypeError, PAGES_PREFIX + "'str' " + NOT_AN_INTEGER),
    ("max_concurrent_pages", object(), TypeError, PAGES_PREFIX + "'object' " + NOT_AN_INTEGER),
    ("max_concurrent_pages", -1, OverflowError, None),
    ("max_concurrent_pages", 2**64, OverflowError, None),
    ("max_concurrent_pages", index(-5), OverflowError, None),
    ("media_dir", 1, TypeError, "argument 'media_dir': 'int' object is not an instance of 'str'"),
    ("ollama_endpoint", None, TypeError, ENDPOINT_PREFIX + "'None' is not an instance of 'str'"),
    ("ollama_endpoint", 1, TypeError, ENDPOINT_PREFIX + "'int' object is not an instance of 'str'"),
]


@pytest.mark.parametrize("field, value, exception, message", CONVERSION_ERRORS)
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


@pytest.mark.parametrize(
    "field, value, expected",
    [
        ("profile", "scientific", "scientific"),
        ("use_ia", False, False),
        ("use_ia", numpy_bool(False), False),
        ("use_ia", numpy_bool(True), True),
        ("max_concurrent_pages", index(12), 12),
        ("max_concurrent_pages", True, 1),
        ("max_concurrent_pages", None, None),
        ("media_dir", None, None),
        ("media_dir", "", ""),
        ("ollama_endpoint", "http://[::1]:11434", "http://[::1]:11434"),
    ],
)
def test_accepted_conversions(field, value, expected):
    assert getattr(ParseOptions(**{field: value}), field) == expected
    options = ParseOptions(max_concurrent_pages=1, media_dir="/m")
    setattr(options, field, value)
    assert getattr(options, field) == expected
    assert type(getattr(options, field)) is type(expected)


@pytest.mark.parametrize("value", [True, False])
def test_numpy_bool_is_accepted_through_its_truth_value(value):
    numpy = pytest.importorskip("numpy")
    assert ParseOptions(use_ia=numpy.bool_(value)).use_ia is value
    with pytest.raises(TypeError, match="^argument 'use_ia': 'int64' object is not"):
        ParseOptions(use_ia=numpy.int64(1))


def test_profile_written_through_the_attribute_is_not_validated():
    options = ParseOptions()
    options.profile = "turbo"
    assert repr(options) == representation(profile="turbo")


@pytest.mark.parametrize("field", FIELDS)
def test_attributes_cannot_be_deleted(field):
    options = ParseOptions()
    with pytest.raises(AttributeError) as caught:
        delattr(options, field)
    assert str(caught.value) == "property has no deleter"
    assert repr(options) == representation()


def test_no_other_attributes_can_be_added():
    with pytest.raises(AttributeError):
        ParseOptions().speed = 3


ESCAPE = re.compile(r'\\(?:u\{([0-9a-f]+)\}|(.))', re.S)
SIMPLE = {"\\": "\\", '"': '"', "t": "\t", "r": "\r", "n": "\n", "0": "\0"}


def unquote(shown):
    assert shown.startswith('"') and shown.endswith('"')
    return ESCAPE.sub(
        lambda m: chr(int(m.group(1), 16)) if m.group(1) is not None else SIMPLE[m.group(2)],
        shown[1:-1],
    )


@given(st.text(st.characters(blacklist_categories=["Cs"])))
def test_quoting_is_reversible_and_hides_invisible_characters(text):
    shown = repr(ParseOptions(ollama_endpoint=text))
    quoted = shown[shown.index("ollama_endpoint=") + len("ollama_endpoint=") : -1]
    assert unquote(quoted) == text
    body = quoted[1:-1]
    assert all(unicodedata.category(c) not in ("Cc", "Zl", "Zp", "Cf", "Co") for c in body)
    assert re.search(r'(?<!\\)(\\\\)*"', body) is None  # every inner quote is escaped
