"""parse_batch: conversion of paths, outcomes per path, order and duplicates."""

import collections.abc

import pytest

from vorlin_reader._native import Document, ParseOptions, parse_batch


def test_empty_list_and_tuple_give_an_empty_dict():
    assert parse_batch([]) == {}
    assert parse_batch(()) == {}


def test_found_and_missing_files(sample_pdf, tmp_path):
    missing = str(tmp_path / "missing.pdf")
    outcomes = parse_batch([sample_pdf[0], missing])
    assert list(outcomes) == [sample_pdf[0], missing]
    found = outcomes[sample_pdf[0]]
    assert type(found) is Document
    assert repr(found) == f"Document(pages=1, sha256={sample_pdf[1]})"
    assert outcomes[missing] == f"FileNotFoundError: PDF not found: {missing}"


def test_a_directory_gives_a_value_error_text(tmp_path):
    outcome = parse_batch([str(tmp_path)])[str(tmp_path)]
    assert outcome.startswith(f"ValueError: failed to open PDF: failed to read PDF at {tmp_path}")


def test_duplicates_keep_the_first_position(sample_pdf, tmp_path):
    other = str(tmp_path / "other.pdf")
    outcomes = parse_batch((sample_pdf[0], other, sample_pdf[0]))
    assert list(outcomes) == [sample_pdf[0], other]
    assert type(outcomes[sample_pdf[0]]) is Document


def test_options_apply_to_every_path(make_file):
    paths = [make_file(b"a", "a.pdf")[0], make_file(b"b", "b.pdf")[0]]
    outcomes = parse_batch(paths, options=ParseOptions(profile="scientific"))
    assert [outcomes[p].to_graph_json()["meta"]["profile"] for p in paths] == ["scientific"] * 2


def test_keys_are_plain_str(sample_pdf):
    class Text(str):
        pass

    (key,) = parse_batch([Text(sample_pdf[0])])
    assert type(key) is str and key == sample_pdf[0]


class Paths(collections.abc.Sequence):
    def __init__(self, items, length_error=None):
        self.items = items
        self.length_error = length_error

    def __getitem__(self, index):
        return self.items[index]

    def __len__(self):
        if self.length_error:
            raise self.length_error
        return len(self.items)


def test_any_sequence_is_accepted_and_a_failing_len_is_ignored(sample_pdf):
    assert list(parse_batch(Paths([sample_pdf[0]]))) == [sample_pdf[0]]
    assert list(parse_batch(Paths([sample_pdf[0]], RuntimeError("no len")))) == [sample_pdf[0]]


class BadIteration:
    """A sequence for the interpreter whose iteration fails with `error`."""

    def __init__(self, error):
        self.error = error

    def __len__(self):
        return 1

    def __getitem__(self, index):
        raise self.error


@pytest.mark.parametrize(
    "paths, message",
    [
        ("a.pdf", "argument 'paths': Can't extract `str` to `Vec`"),
        ({"a.pdf"}, "argument 'paths': 'set' object is not an instance of 'Sequence'"),
        ({"a.pdf": 1}, "argument 'paths': 'dict' object is not an instance of 'Sequence'"),
        (
            (p for p in ["a.pdf"]),
            "argument 'paths': 'generator' object is not an instance of 'Sequence'",
        ),
        (None, "argument 'paths': 'None' is not an instance of 'Sequence'"),
        (b"a.pdf", "argument 'paths': 'int' object is not an instance of 'str'"),
        (["a.pdf", 2], "argument 'paths': 'int' object is not an instance of 'str'"),
        ([None], "argument 'paths': 'None' is not an instance of 'str'"),
        (BadIteration(TypeError("cannot iterate")), "argument 'paths': cannot iterate"),
    ],
)
def test_paths_conversion_errors(paths, message):
    with pytest.raises(TypeError) as caught:
        parse_batch(paths)
    assert str(caught.value) == message


def test_an_error_other_than_type_error_while_iterating_passes_unchanged():
    error = KeyError("gone")
    with pytest.raises(KeyError) as caught:
        parse_batch(BadIteration(error))
    assert caught.value is error


def test_options_are_converted_like_parse():
    with pytest.raises(TypeError) as caught:
        parse_batch([], {})
    assert str(caught.value) == (
        "argument 'options': 'dict' object is not an instance of 'ParseOptions'"
    )
