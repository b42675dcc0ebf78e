"""Type stubs for the native module vorlin_reader._native."""

from collections.abc import Sequence
from typing import Any, final

def version() -> str:
    """The semantic version of the core library."""

def parse(path: str, options: ParseOptions | None = None) -> Document:
    """Parse a single PDF.

    Raises FileNotFoundError ("PDF not found: ...") or ValueError for a file that cannot be parsed.
    """

def parse_batch(
    paths: Sequence[str], options: ParseOptions | None = None
) -> dict[str, Document | str]:
    """Parse several PDFs; a failed path maps to "<ExceptionClass>: <message>"."""

@final
class ParseOptions:
    profile: str
    use_ia: bool
    max_concurrent_pages: int | None
    media_dir: str | None
    ollama_endpoint: str
    def __new__(
        cls,
        profile: str = ...,
        use_ia: bool = True,
        max_concurrent_pages: int | None = None,
        media_dir: str | None = None,
        ollama_endpoint: str = ...,
    ) -> ParseOptions: ...

@final
class Document:
    def __len__(self) -> int: ...
    def to_markdown(self) -> str: ...
    def to_graph_json(self) -> dict[str, Any]: ...

# Private entry points of the package's functions; library None is the built-in backend.
# ocr: None (no OCR) or (mode, languages, dpi, library).
_Ocr = tuple[str, str, int, str] | None
def _parse(library: str | None, layout: str, max_image_pixels: int | None,
           use_outline: bool, path: bytes,
           options: ParseOptions | None = None, ocr: _Ocr = None) -> Document: ...
def _parse_bytes(library: str | None, layout: str, max_image_pixels: int | None,
                 use_outline: bool, data: Any, name: str,
                 options: ParseOptions | None = None, ocr: _Ocr = None) -> Document: ...
def _parse_many(library: str | None, layout: str, max_image_pixels: int | None,
                use_outline: bool, paths: Sequence[bytes], options: ParseOptions | None = None,
                workers: int | None = 1, ocr: _Ocr = None) -> list[Document | BaseException]: ...
def _graph_json_text(document: Document) -> str: ...
def _markdown(document: Document, media_dir: str | None = None) -> str: ...
def _blocks(document: Document) -> tuple[
    list[tuple[str, ...]],
    list[tuple[str, int, int, str, str, tuple[float, float, float, float]]]]: ...
