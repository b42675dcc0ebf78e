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


def test_defaults():
    options = ParseOptions()
    assert [getattr(options, name) for name in FIELDS] == [
        "balanced", True, None, None, DEFAULT_ENDPOINT,
    ]
    assert repr(options) == representation()


def test_positional_arguments_follow_the_field_order():
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
        ("tab\there", r"tab\there"),
        ("cr\rhere", r"cr\rhere"),
        ("nul\0here", r"nul\0here"),
        ("back\\slash", r"back\\slash"),
        ('double"quote', r"double\"quote"),
        ("single'quote", "single'quote"),
        ("e\u0301", r"e\u{301}"),  # combining acute accent (Grapheme_Extend)
        ("\u200d", r"\u{200d}"),  # zero width joiner: format character and Grapheme_Extend
        ("caf\u00e9 \u65e5\u672c \u0436", "caf\u00e9 \u65e5\u672c \u0436"),
        ("\U0001f600", "\U0001f600"),
        ("bell\x07", r"bell\u{7}"),
        ("del\x7f", r"del\u{7f}"),
        ("nbsp\u00a0", r"nbsp\u{a0}"),
        ("zwsp\u200b", r"zwsp\u{200b}"),
        ("ls\u2028", r"ls\u{2028}"),
        ("private\ue000", r"private\u{e000}"),
        ("unassigned\u0378", r"unassigned\u{378}"),
        ("", ""),
    ],
)
def test_quoting_rule(text, shown):
    assert repr(ParseOptions(ollama_endpoint=text)) == representation(endpoint=shown)
    with pytest.raises(ValueError) as caught:
        ParseOptions(profile=text)
    assert str(caught.value) == PROFILE_ERROR + f'"{shown}"'


@pytest.mark.parametrize("profile", ["fast", "balanced", "scientific"])
def test_known_profiles_are_accepted(profile):
    assert ParseOptions(profile).profile == profile


@pytest.mark.parametrize("profile", ["Fast", "Balanced", "SCIENTIFIC", " fast", "fast ", "turbo"])
def test_unknown_profiles_are_refused_byte_for_byte(profile):
    with pytest.raises(ValueError) as caught:
        ParseOptions(profile=profile)
    assert str(caught.value).startswith(PROFILE_ERROR)


class NotAnInteger:
    pass


class Index:
    def __init__(self, value):
        self.value = value

    def __index__(self):
        return self.value


class FakeNumpyBool:
    """Looks like NumPy's bool scalar to the binding, without needing NumPy."""

    def __init__(self, value):
        self.value = value

    def __bool__(self):
        return self.value


FakeNumpyBool.__module__ = "numpy"
FakeNumpyBool.__name__ = "bool_"


class BrokenNumpyBool(FakeNumpyBool):
    def __bool__(self):
        raise TypeError("no truth value")


BrokenNumpyBool.__module__ = "numpy"
BrokenNumpyBool.__name__ = "bool"

ENDPOINT_PREFIX = "argument 'ollama_endpoint': "

# (field, value, exception, message or None when the interpreter's own message is kept)
CONVERSION_ERRORS = [
    ("profile", 1, TypeError, "argument 'profile': 'int' object is not an instance of 'str'"),
    ("profile", None, TypeError, "argument 'profile': 'None' is not an instance of 'str'"),
    ("profile", b"x", TypeError, "argument 'profile': 'bytes' object is not an instance of 'str'"),
    ("use_ia", 1, TypeError, "argument 'use_ia': 'int' object is not an instance of 'bool'"),
    ("use_ia", 0, TypeError, "argument 'use_ia': 'int' object is not an instance of 'bool'"),
    ("use_ia", None, TypeError, "argument 'use_ia': 'None' is not an instance of 'bool'"),
    ("use_ia", "true", TypeError, "argument 'use_ia': 'str' object is not an instance of 'bool'"),
    ("use_ia", BrokenNumpyBool(True), TypeError, "argument 'use_ia': no truth value"),
    (
        "max_concurrent_pages",
        1.5,
        TypeError,
        "argument 'max_concurrent_pages': 'float' object cannot be interpreted as an integer",
    ),
    (
        "max_concurrent_pages",
        "4",
        TypeError,
        "argument 'max_concurrent_pages': 'str' object cannot be interpreted as an integer",
    ),
    (
        "max_concurrent_pages",
        NotAnInteger(),
        TypeError,
        "argument 'max_concurrent_pages': 'NotAnInteger' object cannot be interpreted as an"
        " integer",
    ),
    ("max_concurrent_pages", -1, OverflowError, None),
    ("max_concurrent_pages", 2**64, OverflowError, None),
    ("max_concurrent_pages", Index(-5), OverflowError, None),
    ("media_dir", 1, TypeError, "argument 'media_dir': 'int' object is not an instance of 'str'"),
    ("ollama_endpoint", None, TypeError, ENDPOINT_PREFIX + "'None' is not an instance of 'str'"),
    ("ollama_endpoint", 1, TypeError, ENDPOINT_PREFIX + "'int' object is not an instance of 'str'"),
]


def check_error(caught, message):
    if message is not None:
        assert str(caught.value) == message
    else:
        assert not str(caught.value).startswith("argument ")


@pytest.mark.parametrize("field, value, exception, message", CONVERSION_ERRORS)
def test_constructor_conversion_errors(field, value, exception, message):
    with pytest.raises(exception) as caught:
        ParseOptions(**{field: value})
    assert type(caught.value) is exception
    check_error(caught, message)


@pytest.mark.parametrize("field, value, exception, message", CONVERSION_ERRORS)
def test_attribute_writes_convert_like_the_constructor(field, value, exception, message):
    options = ParseOptions(max_concurrent_pages=7, media_dir="/m")
    before = repr(options), getattr(options, field)
    with pytest.raises(exception) as caught:
        setattr(options, field, value)
    check_error(caught, message)
    assert (repr(options), getattr(options, field)) == before


def test_conversions_run_in_field_order_and_precede_validation():
    with pytest.raises(TypeError, match="^argument 'use_ia': "):
        ParseOptions(profile="nope", use_ia=1, max_concurrent_pages=-1)
    with pytest.raises(OverflowError):
        ParseOptions(profile="nope", max_concurrent_pages=-1)


@pytest.mark.parametrize(
    "field, value, expected",
    [
        ("use_ia", FakeNumpyBool(False), False),
        ("use_ia", FakeNumpyBool(True), True),
        ("max_concurrent_pages", Index(12), 12),
        ("max_concurrent_pages", True, 1),
        ("max_concurrent_pages", None, None),
        ("media_dir", None, None),
        ("media_dir", "", ""),
    ],
)
def test_accepted_conversions(field, value, expected):
    assert getattr(ParseOptions(**{field: value}), field) == expected
    options = ParseOptions(max_concurrent_pages=1, media_dir="/m")
    setattr(options, field, value)
    assert getattr(options, field) == expected


@pytest.mark.parametrize("value", [True, False])
def test_numpy_bool_is_accepted_through_its_truth_value(value):
    numpy = pytest.importorskip("numpy")
    assert ParseOptions(use_ia=numpy.bool_(value)).use_ia is value
    with pytest.raises(TypeError, match="^argument 'use_ia': 'int64' object is not"):
        ParseOptions(use_ia=numpy.int64(1))


@pytest.mark.parametrize(
    "field, value",
    [
        ("profile", "turbo"),
        ("use_ia", False),
        ("max_concurrent_pages", 9),
        ("media_dir", "/out"),
        ("ollama_endpoint", "http://[::1]:11434"),
    ],
)
def test_attribute_write_then_read(field, value):
    options = ParseOptions()
    setattr(options, field, value)
    assert getattr(options, field) == value
    assert type(getattr(options, field)) is type(value)


def test_profile_written_through_the_attribute_is_not_validated():
    options = ParseOptions()
    options.profile = "turbo"
    assert repr(options) == representation(profile="turbo")


def test_none_clears_the_optional_fields():
    options = ParseOptions(max_concurrent_pages=2, media_dir="/m")
    options.max_concurrent_pages = None
    options.media_dir = None
    assert (options.max_concurrent_pages, options.media_dir) == (None, None)


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

    def replace(match):
        if match.group(1) is not None:
            return chr(int(match.group(1), 16))
        return SIMPLE[match.group(2)]

    return ESCAPE.sub(replace, shown[1:-1])


@given(st.text(st.characters(blacklist_categories=["Cs"])))
def test_quoting_is_reversible_and_hides_invisible_characters(text):
    shown = repr(ParseOptions(ollama_endpoint=text))
    quoted = shown[shown.index("ollama_endpoint=") + len("ollama_endpoint=") : -1]
    assert unquote(quoted) == text
    body = quoted[1:-1]
    assert all(unicodedata.category(c) not in ("Cc", "Zl", "Zp", "Cf", "Co") for c in body)
    assert re.search(r'(?<!\\)(\\\\)*"', body) is None  # every inner quote is escaped
