"""vorlin_reader.chunk and to_markdown: packing rules on hand-made blocks, then a real parse."""

import pytest

import pdf_factory as pdfs
import vorlin_reader
from vorlin_reader import _native

WORDS = lambda text: len(text.split())  # noqa: E731 - a token per word keeps the sizes readable
TABLE = "| a | b |\n|---|---|\n" + "\n".join(f"| r{i} | x |" for i in range(6))


class Encoder:  # shaped like tiktoken's Encoding
    def encode(self, text):
        return text.split()


def blocks(*sections):
    """_blocks output from (headings, [(kind, text), ...]) per section; block i is node "n<i>"."""
    paths, items = [], []
    for index, (headings, content) in enumerate(sections):
        paths.append(tuple(headings))
        for kind, text in content:
            items.append((text, index, 1 + len(items) // 3, f"n{len(items)}", kind, (0, 0, 1, 1)))
    return paths, items


def para(words, word="w"):
    return ("paragraph", " ".join([word] * words))


CASES = {
    # Each fits beside the other, but neither is tiny: they stay apart.
    "sections_apart": (blocks((["A"], [para(5)]), (["B"], [para(5)])), 12, 0,
                       [(["A"], "w w w w w"), (["B"], "w w w w w")]),
    "tiny_sections_share": (blocks((["T", "A"], [para(2)]), (["T", "B"], [para(2)])), 12, 0,
                            [(["T"], "w w\n\nw w")]),
    "bare_heading_leads_its_subsection": (
        blocks((["P"], [para(1)]), (["T"], [("heading-1", "# T")]),
               (["T", "A"], [("heading-2", "## A"), para(8)])),
        12, 0, [(["P"], "w"), (["T", "A"], "# T\n\n## A\n\nw w w w w w w w")]),
    "exact_fit_shares_a_chunk": (blocks(([], [para(5), para(5)])), 10, 0,
                                 [([], "w w w w w\n\nw w w w w")]),
    # The list moves whole into the next chunk rather than being cut.
    "fitting_list_stays_whole": (blocks((["A"], [para(6), ("list", "- a b\n- c d\n- e f")])), 10,
                                 0, [(["A"], "w w w w w w"), (["A"], "- a b\n- c d\n- e f")]),
    "long_table_cut_between_rows_with_its_header": (
        blocks(([], [("table", TABLE)])), 21, 0,
        [([], "| a | b |\n|---|---|\n| r0 | x |\n| r1 | x |\n| r2 | x |"),
         ([], "| a | b |\n|---|---|\n| r3 | x |\n| r4 | x |\n| r5 | x |")]),
    "long_paragraph_cut_at_sentences": (blocks(([], [("paragraph", "a b c. d e f. g h i.")])), 7,
                                        0, [([], "a b c. d e f."), ([], "g h i.")]),
    "overlap_repeats_the_previous_end": (
        blocks(([], [para(6, "x"), para(6, "y")])), 10, 3,
        [([], "x x x x x x"), ([], "x x x\n\ny y y y y y")]),
}


@pytest.mark.parametrize("made, max_tokens, overlap, expected", CASES.values(), ids=CASES)
def test_packing(monkeypatch, made, max_tokens, overlap, expected):
    monkeypatch.setattr(_native, "_blocks", lambda document: made)
    chunks = vorlin_reader.chunk(None, max_tokens, overlap, tokenizer=Encoder())
    assert [(c["headings"], c["text"]) for c in chunks] == expected
    assert all(WORDS(c["text"]) <= max_tokens for c in chunks)


@pytest.mark.parametrize("options, error", [
    ({"max_tokens": 0}, ValueError), ({"max_tokens": 8, "overlap_tokens": 8}, ValueError),
    ({"max_tokens": 8.0}, TypeError), ({"overlap_tokens": -1}, ValueError),
    ({"tokenizer": lambda text: "3"}, TypeError), ({"tokenizer": 42}, TypeError)])
def test_bad_arguments(monkeypatch, options, error):
    monkeypatch.setattr(_native, "_blocks", lambda document: blocks(([], [para(4)])))
    with pytest.raises(error):
        vorlin_reader.chunk(None, **options)


def test_real_document_chunks(pdfium):
    document = vorlin_reader.parse_bytes(pdfs.report(pages=2, image=pdfs.gradient()))
    chunks = vorlin_reader.chunk(document, max_tokens=120)
    graph = document.to_graph_json()
    by_id = {node["id"]: node for node in graph["nodes"]}
    # Every node the Markdown shows is in a chunk, on its own page, under its own headings.
    omitted = ("header", "footer", "page-number")
    shown = [n["id"] for n in graph["nodes"] if n["nodeType"] not in omitted]
    assert sorted({i for c in chunks for i in c["node_ids"]}) == sorted(shown)
    for c in chunks:
        assert c["pages"] == sorted({by_id[i]["page"] for i in c["node_ids"]})
        assert c["boxes"] == [{"page": by_id[i]["page"], **by_id[i]["bbox"]} for i in c["node_ids"]]
    assert ["1 Amber section", "1.1 Basil details"] in [c["headings"][-2:] for c in chunks]
    assert vorlin_reader.to_markdown(document) == document.to_markdown()
    with pytest.raises(ValueError, match="media_dir"):
        vorlin_reader.to_markdown(document, figures="linked")
