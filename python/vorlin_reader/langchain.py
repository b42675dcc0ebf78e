"""A LangChain document loader: pip install "vorlin-reader[langchain]".

>>> from vorlin_reader.langchain import VorlinLoader
>>> docs = VorlinLoader(["a.pdf", "b.pdf"], max_tokens=256).load()
"""

import os

try:
    from langchain_core.document_loaders import BaseLoader
    from langchain_core.documents import Document
except ImportError as error:  # pragma: no cover - depends on the environment
    raise ImportError('vorlin_reader.langchain needs langchain-core: '
                      'pip install "vorlin-reader[langchain]"') from error

from vorlin_reader import _loading


class VorlinLoader(BaseLoader):
    """Loads PDFs as LangChain Documents: one per chunk (mode="chunk") or per page (mode="page").

    page_content is the Markdown text; metadata holds "source", "headings", "pages", "node_ids",
    "kinds" and "boxes" as vorlin_reader.chunk gives them. Options are those of chunk() and
    parse() (max_tokens, tokenizer, backend, profile...).
    """

    def __init__(self, file_path, *, mode: str = "chunk", **options):
        _loading.check_mode(mode)
        _loading.split_options(options)
        single = isinstance(file_path, (str, bytes, os.PathLike))
        self.file_paths = [file_path] if single else list(file_path)
        self.mode = mode
        self.options = options

    def lazy_load(self):
        for path in self.file_paths:
            for record in _loading.records(path, self.mode, **self.options):
                text = record.pop("text")
                yield Document(page_content=text, metadata=record)
