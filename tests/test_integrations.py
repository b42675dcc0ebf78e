"""The optional integrations, each against the real framework: LangChain, LlamaIndex, Dask."""

import pytest

import pdf_factory as pdfs
import vorlin_reader


@pytest.fixture(scope="module")
def papers(pdfium, tmp_path_factory):
    folder = tmp_path_factory.mktemp("papers")
    for name, pages in (("one.pdf", 1), ("two.pdf", 2)):
        (folder / name).write_bytes(pdfs.report(pages=pages))
    return folder, [str(folder / "one.pdf"), str(folder / "two.pdf")]


def numbered(records):
    """Records with node ids numbered by first appearance: every parse draws fresh ids."""
    seen = {}
    out = []
    for record in records:
        ids = [seen.setdefault(i, len(seen)) for i in record.get("node_ids", ())]
        out.append({**record, "node_ids": ids})
    return out


def local_chunks(paths, **options):
    return numbered([{**piece, "source": path} for path in paths
                     for piece in vorlin_reader.chunk(vorlin_reader.parse(path), **options)])


@pytest.mark.parametrize("mode", ["chunk", "page"])
def test_langchain_loader(papers, mode):
    langchain = pytest.importorskip("vorlin_reader.langchain")
    from langchain_core.documents import Document

    _, paths = papers
    docs = list(langchain.VorlinLoader(paths, mode=mode, max_tokens=100).lazy_load())
    assert all(isinstance(doc, Document) for doc in docs)
    got = numbered([{"text": doc.page_content, **doc.metadata} for doc in docs])
    if mode == "chunk":
        assert got == local_chunks(paths, max_tokens=100)
    else:
        assert [(d["source"], d["pages"]) for d in got] == [
            (paths[0], [1]), (paths[1], [1]), (paths[1], [2])]


def test_llama_index_reader_in_a_directory_reader(papers):
    llama = pytest.importorskip("vorlin_reader.llama_index")
    from llama_index.core import SimpleDirectoryReader

    folder, paths = papers
    reader = SimpleDirectoryReader(str(folder), file_extractor={".pdf": llama.VorlinReader()})
    docs = reader.load_data()
    assert [doc.text for doc in docs] == [c["text"] for c in local_chunks(paths)]
    assert {doc.metadata["file_name"] for doc in docs} == {"one.pdf", "two.pdf"}


def test_dask_bags_on_a_cluster_equal_local_results(papers):
    vorlin_dask = pytest.importorskip("vorlin_reader.dask")
    distributed = pytest.importorskip("dask.distributed")

    _, paths = papers
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster, \
            distributed.Client(cluster) as client:
        chunks = client.compute(vorlin_dask.chunks_bag(paths, max_tokens=80)).result()
        graphs = client.compute(vorlin_dask.graphs_bag(paths, profile="fast")).result()
    assert numbered(chunks) == local_chunks(paths, max_tokens=80)
    local = [vorlin_reader.parse(path, vorlin_reader.ParseOptions(profile="fast")).to_graph_json()
             for path in paths]
    strip = lambda graph: [(n["content"], n["page"]) for n in graph["nodes"]]  # noqa: E731
    assert [strip(g) for g in graphs] == [strip(g) for g in local]
    assert [g["meta"]["profile"] for g in graphs] == ["fast", "fast"]
