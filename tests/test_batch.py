"""parse_batch: conversion of paths, outcomes per path, order and duplicates."""

import collections

import pytest

from vorlin_reader._native import Document, ParseOptions, parse_batch


def test_outcomes_keep_first_positions_and_name_the_failure(sample_pdf, tmp_path):
    assert parse_batch([]) == parse_batch(()) == {}
    path, missing, directory = sample_pdf[0], str(tmp_path / "missing.pdf"), str(tmp_path)
    outcomes = parse_batch((path, missing, directory, path, missing))
    assert list(outcomes) == [path, missing, directory]
    assert type(outcomes[path]) is Document
    assert repr(outcomes[path]) == f"Document(pages=1, sha256={sample_pdf[1]})"
    assert outcomes[missing] == f"FileNotFoundError: PDF not found: {missing}"
    assert outcomes[directory] == (f"ValueError: failed to open PDF: failed to read PDF at "
                                   f"{directory}: Is a directory (os error 21)")


def test_options_apply_to_every_path(make_file):
    paths = [make_file(b"a", "a.pdf")[0], make_file(b"b", "b.pdf")[0]]
    outcomes = parse_batch(paths, options=ParseOptions(profile="scientific"))
    assert [outcomes[p].to_graph_json()["meta"]["profile"] for p in paths] == ["scientific"] * 2


class Text(str):
    pass


class NoLength(collections.UserList):
    def __len__(self):
        raise RuntimeError("no len")


def test_any_sequence_is_accepted_and_keys_are_plain_str(sample_pdf):
    path = sample_pdf[0]
    for paths in ([Text(path)], collections.UserList([path]), NoLength([path])):
        (key,) = parse_batch(paths)
        assert type(key) is str and key == path


class BadIteration(collections.UserList):
    """A sequence whose iteration fails with the error it holds."""

    def __getitem__(self, index):
        raise self.data[0]


# An error other than TypeError while iterating passes unchanged.
@pytest.mark.parametrize("paths, message", [
        ("a.pdf", "argument 'paths': Can't extract `str` to `Vec`"),
        ({"a.pdf"}, "argument 'paths': 'set' object is not an instance of 'Sequence'"),
        (None, "argument 'paths': 'None' is not an instance of 'Sequence'"),
        (b"a.pdf", "argument 'paths': 'int' object is not an instance of 'str'"),
        ([None], "argument 'paths': 'None' is not an instance of 'str'"),
        (BadIteration([TypeError("cannot iterate")]), "argument 'paths': cannot iterate"),
        (BadIteration([KeyError("gone")]), None)])
def test_paths_conversion_errors(paths, message):
    with pytest.raises(TypeError if message else KeyError) as caught:
        parse_batch(paths)
    assert caught.value is paths.data[0] if message is None else str(caught.value) == message
