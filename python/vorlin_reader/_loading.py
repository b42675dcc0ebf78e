"""What the framework loaders and the Dask bags share: one file's chunks (or pages) from plain
keyword options, so that a loader or a remote task needs nothing but a path and those options."""

import os

from vorlin_reader import _api, _chunks, _native

PARSE_KEYWORDS = ("backend", "layout", "max_image_pixels")
CHUNK_KEYWORDS = ("max_tokens", "overlap_tokens", "tokenizer")
MODES = ("chunk", "page")


def split_options(options):
    """(parse keywords, chunk keywords, ParseOptions) from one set of keywords; the rest go to
    ParseOptions, which rejects what it does not know."""
    parse = {key: options[key] for key in PARSE_KEYWORDS if key in options}
    chunking = {key: options[key] for key in CHUNK_KEYWORDS if key in options}
    rest = {k: v for k, v in options.items() if k not in PARSE_KEYWORDS + CHUNK_KEYWORDS}
    return parse, chunking, _native.ParseOptions(**rest)


def check_mode(mode):
    if mode not in MODES:
        raise ValueError(f"mode must be one of {' / '.join(MODES)}, got {mode!r}")


def parse_file(path, options, data=None):
    """The Document of `path` (or of `data`, its bytes, when given); a failure names the file."""
    parse, _, parse_options = split_options(options)
    try:
        if data is not None:
            return _api.parse_bytes(data, parse_options, name=os.path.basename(os.fsdecode(path)),
                                    **parse)
        return _api.parse(path, parse_options, **parse)
    except Exception as error:
        error.add_note(f"while parsing {os.fsdecode(path)}")
        raise


def records(path, mode="chunk", data=None, **options):
    """The chunk (or page) dicts of one file, each with its "source" path."""
    check_mode(mode)
    document = parse_file(path, options, data)
    _, chunking, _ = split_options(options)
    pieces = (_chunks.chunk(document, **chunking) if mode == "chunk"
              else _chunks.pages(document))
    source = os.fsdecode(path)
    return [{**piece, "source": source} for piece in pieces]
