"""A LlamaIndex reader: pip install "vorlin-reader[llama-index]".

>>> from vorlin_reader.llama_index import VorlinReader
>>> documents = VorlinReader(max_tokens=256).load_data("paper.pdf")
>>> SimpleDirectoryReader("papers/", file_extractor={".pdf": VorlinReader()}).load_data()
"""

try:
    from llama_index.core.readers.base import BaseReader
    from llama_index.core.schema import Document
except ImportError as error:  # pragma: no cover - depends on the environment
    raise ImportError('vorlin_reader.llama_index needs llama-index-core: '
                      'pip install "vorlin-reader[llama-index]"') from error

from vorlin_reader import _loading


class VorlinReader(BaseReader):
    """Reads a PDF as LlamaIndex Documents: one per chunk (mode="chunk") or per page ("page").

    text is the Markdown; metadata holds "source", "headings", "pages", "node_ids", "kinds" and
    "boxes" as vorlin_reader.chunk gives them, plus `extra_info`. Options are those of chunk()
    and parse() (max_tokens, tokenizer, backend, profile...).
    """

    def __init__(self, *, mode: str = "chunk", **options):
        _loading.check_mode(mode)
        _loading.split_options(options)
        self.mode = mode
        self.options = options

    def lazy_load_data(self, file, extra_info=None, fs=None):
        # SimpleDirectoryReader passes its file system (fsspec) when the files are not local.
        data = None
        if fs is not None:
            with fs.open(file, "rb") as stream:
                data = stream.read()
        for record in _loading.records(file, self.mode, data, **self.options):
            text = record.pop("text")
            yield Document(text=text, metadata={**record, **(extra_info or {})})

    def load_data(self, file, extra_info=None, fs=None):
        return list(self.lazy_load_data(file, extra_info, fs))
