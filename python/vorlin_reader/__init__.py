"""PDF to structured Markdown and graph JSON for retrieval-augmented generation."""

from vorlin_reader._native import version

__all__ = ["version"]
