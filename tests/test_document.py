"""Document: construction, Markdown and the graph dict through json.loads."""

import json

import pytest

from vorlin_reader._native import Document, parse


def test_cannot_be_created_from_python():
    with pytest.raises(TypeError):
        Document()
    with pytest.raises(TypeError):
        Document.__new__(Document)


def test_markdown_of_a_document_without_nodes_is_empty(sample_pdf):
    assert parse(sample_pdf[0]).to_markdown() == ""


def test_graph_json_is_a_fresh_dict_every_call(sample_pdf):
    document = parse(sample_pdf[0])
    first, second = document.to_graph_json(), document.to_graph_json()
    assert type(first) is dict
    assert first == second and first is not second
    assert first["meta"]["sourceSha256"] == sample_pdf[1]
    assert first["meta"]["sourceFilename"] == "sample.pdf"
    first["meta"]["profile"] = "changed"
    first["nodes"].append("junk")
    assert document.to_graph_json() == second


class LoadsFailed(Exception):
    pass


def test_json_loads_is_looked_up_on_every_call_and_its_error_propagates(sample_pdf, monkeypatch):
    document = parse(sample_pdf[0])
    expected = document.to_graph_json()
    seen, failure = [], LoadsFailed("loads is broken")

    def broken(*args, **kwargs):
        seen.append((args, kwargs))
        raise failure

    monkeypatch.setattr(json, "loads", broken)
    with pytest.raises(LoadsFailed) as caught:
        document.to_graph_json()
    assert caught.value is failure
    ((args, kwargs),) = seen
    assert kwargs == {} and len(args) == 1 and type(args[0]) is str
    monkeypatch.undo()
    assert json.loads(args[0]) == expected
    assert document.to_graph_json() == expected
