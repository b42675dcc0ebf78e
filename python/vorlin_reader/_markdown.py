"""to_markdown(): a document's Markdown, with its figures as placeholders or as links to the
images a parse saved into `media_dir`."""

import os

from vorlin_reader import _native

FIGURE_MODES = ("placeholder", "linked")


def to_markdown(document: "_native.Document", *, figures: str = "placeholder",
                media_dir: "str | os.PathLike[str] | None" = None) -> str:
    """GitHub Markdown of a parsed document.

    figures: "placeholder" (`_figure: caption_`, what Document.to_markdown() writes) or "linked"
    (`![caption](<media_dir>/<node id>.png)`, the file the parse saved when its options named
    that media_dir). Give media_dir as the Markdown should reference it, e.g. relative to where
    the Markdown file is written.

    >>> doc = vorlin_reader.parse("paper.pdf", vorlin_reader.ParseOptions(media_dir="media"))
    >>> text = vorlin_reader.to_markdown(doc, figures="linked", media_dir="media")
    """
    if figures not in FIGURE_MODES:
        raise ValueError(f"figures must be one of {' / '.join(FIGURE_MODES)}, got {figures!r}")
    if figures == "placeholder":
        return _native._markdown(document)
    if media_dir is None:
        raise ValueError('figures="linked" needs the media_dir the figures were saved into')
    return _native._markdown(document, os.fsdecode(media_dir))
