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


def test_json_loads_is_looked_up_on_every_call_and_its_error_propagates(sample_pdf, monkeypatch):
    document = parse(sample_pdf[0])
    expected, seen = document.to_graph_json(), []

    def broken(text):
        seen.append(text)
        raise LookupError("loads is broken")

    monkeypatch.setattr(json, "loads", broken)
    with pytest.raises(LookupError, match="^loads is broken$"):
        document.to_graph_json()
    assert json.JSONDecoder().decode(*seen) == expected
