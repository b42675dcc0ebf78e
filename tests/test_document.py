"""Document: construction, len, repr, Markdown and the graph dict through json.loads."""

import json

import pytest

from vorlin_reader._native import Document, ParseOptions, parse


def test_cannot_be_created_from_python():
    with pytest.raises(TypeError):
        Document()
    with pytest.raises(TypeError):
        Document.__new__(Document)


def test_length_and_representation(sample_pdf):
    path, digest = sample_pdf
    document = parse(path)
    assert len(document) == 1
    assert repr(document) == f"Document(pages=1, sha256={digest})"
    assert str(document) == repr(document)


def test_markdown_of_a_document_without_nodes_is_empty(sample_pdf):
    assert parse(sample_pdf[0]).to_markdown() == ""


def test_graph_json_is_a_fresh_dict_every_call(sample_pdf):
    document = parse(sample_pdf[0], ParseOptions(profile="fast"))
    first = document.to_graph_json()
    second = document.to_graph_json()
    assert type(first) is dict
    assert first == second and first is not second
    assert first["meta"]["sourceSha256"] == sample_pdf[1]
    assert first["meta"]["sourceFilename"] == "sample.pdf"
    assert first["meta"]["profile"] == "fast"
    first["meta"]["profile"] = "changed"
    first["nodes"].append("junk")
    assert document.to_graph_json() == second


class LoadsFailed(Exception):
    pass


def test_a_raising_json_loads_propagates_unchanged(sample_pdf, monkeypatch):
    document = parse(sample_pdf[0])
    failure = LoadsFailed("loads is broken")

    def broken(text):
        raise failure

    monkeypatch.setattr(json, "loads", broken)
    with pytest.raises(LoadsFailed) as caught:
        document.to_graph_json()
    assert caught.value is failure


def test_json_loads_is_looked_up_on_every_call(sample_pdf, monkeypatch):
    document = parse(sample_pdf[0])
    expected = document.to_graph_json()
    seen = []
    sentinel = object()

    def spy(*args, **kwargs):
        seen.append((args, kwargs))
        return sentinel

    monkeypatch.setattr(json, "loads", spy)
    assert document.to_graph_json() is sentinel
    ((args, kwargs),) = seen
    assert kwargs == {} and len(args) == 1 and type(args[0]) is str
    monkeypatch.undo()
    assert json.loads(args[0]) == expected
    assert document.to_graph_json() == expected
