"""PDF to structured Markdown and graph JSON for retrieval-augmented generation."""

import logging

from vorlin_reader._api import parse, parse_batch, parse_bytes
from vorlin_reader._chunks import chunk
from vorlin_reader._markdown import to_markdown
from vorlin_reader._native import Document, ParseOptions, version
from vorlin_reader._version import __version__

# The native code reports through logging.getLogger("vorlin_reader._native"); stay silent unless
# the program configures logging itself.
logging.getLogger(__name__).addHandler(logging.NullHandler())

__all__ = ["__version__", "version", "parse", "parse_bytes", "parse_batch", "to_markdown", "chunk",
           "ParseOptions", "Document"]
