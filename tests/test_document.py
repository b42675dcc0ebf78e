"""Document: construction, Markdown and the graph dict through json.loads."""

import json

import pytest

from vorlin_reader._native import Document, parse


def test_cannot_be_created_from_python():
    for create in (Document, lambda: Document.__new__(Document)):
        with pytest.raises(TypeError):
            create()


def test_renders_a_fresh_dict_every_call(sample_pdf):
    document = parse(sample_pdf[0])
    assert document.to_markdown() == ""
    first, second = document.to_graph_json(), document.to_graph_json()
    assert type(first) is dict and first is not second
    assert first["meta"]["sourceSha256"] == sample_pdf[1]
    assert first["meta"]["sourceFilename"] == "sample.pdf"
    first["meta"]["profile"] = "changed"
    assert document.to_graph_json() == second


def test_an_error_of_json_loads_propagates(sample_pdf, monkeypatch):
    document = parse(sample_pdf[0])

    def broken(text):
        raise LookupError("loads is broken")

    monkeypatch.setattr(json, "loads", broken)
    with pytest.raises(LookupError, match="^loads is broken$"):
        document.to_graph_json()
