"""Many PDFs as Dask bags of chunk or graph dicts, on one machine or any dask.distributed cluster.

Each task parses its file on the worker that runs it: only the path, the keyword options and the
resulting plain dicts travel between processes, so every worker needs vorlin-reader installed and
the files at the same paths (a shared file system). pip install "vorlin-reader[dask]".

>>> from vorlin_reader.dask import chunks_bag
>>> chunks_bag(glob.glob("papers/*.pdf"), max_tokens=256).to_dataframe().to_parquet("chunks/")
"""

import os

try:
    import dask.bag
except ImportError as error:  # pragma: no cover - depends on the environment
    raise ImportError('vorlin_reader.dask needs Dask: pip install "vorlin-reader[dask]"') from error

from vorlin_reader import _loading


def _bag(paths, npartitions, task, options):
    if isinstance(paths, (str, bytes, os.PathLike)):
        raise TypeError("paths must be a sequence of paths, not a single path")
    paths = [os.fsdecode(path) for path in paths]
    _loading.split_options(options)  # bad options fail here, not later on a worker
    bag = dask.bag.from_sequence(paths, npartitions=npartitions or max(1, len(paths)))
    return bag.map(task, **options).flatten()


def _file_chunks(path, **options):
    return _loading.records(path, "chunk", **options)


def _file_graph(path, **options):
    return [_loading.parse_file(path, options).to_graph_json()]


def chunks_bag(paths, *, npartitions=None, **options) -> "dask.bag.Bag":
    """A bag of the chunk dicts of every file, as vorlin_reader.chunk gives them plus "source".

    options: max_tokens, overlap_tokens and tokenizer (which must pickle) for chunk(); backend,
    layout and max_image_pixels for parse(); the rest (profile=...) for ParseOptions.
    npartitions: default one per file, so that the scheduler spreads files over the workers.
    A file that cannot be parsed fails the computation with its path in the error.
    """
    return _bag(paths, npartitions, _file_chunks, options)


def graphs_bag(paths, *, npartitions=None, **options) -> "dask.bag.Bag":
    """A bag of the graph dicts (Document.to_graph_json()) of every file, in the order of paths.

    options: backend, layout and max_image_pixels for parse(); the rest for ParseOptions.
    """
    return _bag(paths, npartitions, _file_graph, options)
