"""chunk(): a parsed document as retrieval chunks of bounded size, cut along its sections.

The engine lists the document's blocks (one per node the Markdown shows, in reading order, with
its Markdown text, page and heading path); this module packs them. A block that fits is never cut;
one that does not is cut at the coarsest boundary that works: a table between rows (each piece
repeats the header), other text between lines, then sentences, then words.
"""

import re
from dataclasses import dataclass, field

from vorlin_reader import _native

# Tokenizers of the BPE family average about four characters of English text per token.
CHARS_PER_TOKEN = 4
# Sections this small (max_tokens / 4 or less) may share a chunk with an equally small neighbour;
# apart, each would be a fragment too short to retrieve well.
TINY_SECTION_SHARE = 4
BLOCK_SEPARATOR = "\n\n"
# Boundaries for cutting a block that is too long, coarsest first, with the text that rejoins
# the pieces.
_CUTS = ((re.compile(r"\n"), "\n"), (re.compile(r"(?<=[.!?])\s+"), " "), (re.compile(r"\s+"), " "))
_TABLE_RULE = re.compile(r"^\s*\|?\s*:?-+:?\s*(\|\s*:?-+:?\s*)*\|?\s*$")


def approximate_tokens(text: str) -> int:
    """The default token count: one per four characters, rounded up."""
    return -(-len(text) // CHARS_PER_TOKEN)


def _counter(tokenizer):
    if tokenizer is None:
        return approximate_tokens
    encode = getattr(tokenizer, "encode", None)
    if callable(encode):
        def count(text):
            encoded = encode(text)
            return len(getattr(encoded, "ids", encoded))  # Hugging Face tokenizers' Encoding
        return count
    if callable(tokenizer):
        def count(text):
            tokens = tokenizer(text)
            if not isinstance(tokens, int) or tokens < 0:
                raise TypeError(f"tokenizer must return a token count (int >= 0), got {tokens!r}")
            return tokens
        return count
    raise TypeError("tokenizer must have an encode(text) method or be a callable returning a "
                    f"token count, got {type(tokenizer).__name__}")


@dataclass
class _Unit:
    """Text that packing never cuts: a whole block or a piece of one."""
    text: str
    tokens: int
    block: int


@dataclass
class _Chunk:
    units: list = field(default_factory=list)
    tokens: int = 0
    tiny: bool = False  # only tiny sections so far


class _Packer:
    def __init__(self, sections, blocks, max_tokens, overlap_tokens, count):
        self.sections, self.blocks = sections, blocks
        self.max, self.overlap, self.count = max_tokens, overlap_tokens, count
        self.join_tokens = {joiner: count(joiner) for joiner in (BLOCK_SEPARATOR, "\n", " ")}

    def fits(self, chunk, unit):
        join = self.join_tokens[BLOCK_SEPARATOR] if chunk.units else 0
        return chunk.tokens + join + unit.tokens <= self.max

    def add(self, chunk, unit):
        chunk.tokens += (self.join_tokens[BLOCK_SEPARATOR] if chunk.units else 0) + unit.tokens
        chunk.units.append(unit)

    def pieces(self, text, cut=0):
        """`text` in pieces within max_tokens, cut at the coarsest boundary that works."""
        tokens = self.count(text)
        if tokens <= self.max:
            return [(text, tokens)]
        if cut == len(_CUTS):
            if len(text) <= 1:
                return [(text, tokens)]  # nothing smaller exists
            half = len(text) // 2
            return self.pieces(text[:half], cut) + self.pieces(text[half:], cut)
        pattern, joiner = _CUTS[cut]
        parts = []
        for part in pattern.split(text):
            if part:
                parts.extend(self.pieces(part, cut + 1))
        return self.pack(parts, joiner)

    def pack(self, parts, joiner, head=None):
        """Parts joined greedily into pieces within max_tokens, each led by `head` if given."""
        join = self.join_tokens[joiner]
        start = [head] if head else []
        base = head[1] + join if head else 0
        pieces, current, tokens = [], list(start), base
        for text, size in parts:
            if len(current) > len(start) and tokens + join + size > self.max:
                pieces.append((joiner.join(t for t, _ in current), tokens))
                current, tokens = list(start), base
            tokens += (join if len(current) > len(start) else 0) + size
            current.append((text, size))
        if len(current) > len(start):
            pieces.append((joiner.join(t for t, _ in current), tokens))
        return pieces

    def table_pieces(self, text):
        lines = text.split("\n")
        if len(lines) < 3 or not _TABLE_RULE.match(lines[1]):
            return self.pieces(text)
        header = "\n".join(lines[:2])
        head = (header, self.count(header))
        room = self.max - head[1] - self.join_tokens["\n"]
        if room <= 0:
            return self.pieces(text)
        rows = [(row, self.count(row)) for row in lines[2:]]
        if any(size > room for _, size in rows):
            return self.pieces(text)
        return self.pack(rows, "\n", head)

    def units(self, index):
        text, kind = self.blocks[index][0], self.blocks[index][4]
        tokens = self.count(text)
        if tokens <= self.max:
            return [_Unit(text, tokens, index)]
        pieces = self.table_pieces(text) if kind == "table" else self.pieces(text)
        return [_Unit(piece, size, index) for piece, size in pieces]

    def tail(self, chunk, budget):
        """The end of `chunk`, within `budget` tokens, that the next chunk repeats."""
        carried = []
        for unit in reversed(chunk.units):
            cost = unit.tokens + (self.join_tokens[BLOCK_SEPARATOR] if carried else 0)
            if cost <= budget:
                carried.insert(0, unit)
                budget -= cost
                continue
            if carried:
                budget -= self.join_tokens[BLOCK_SEPARATOR]
            words = unit.text.split()
            low, high = 0, len(words)  # the most trailing words within the budget
            while low < high:
                middle = (low + high + 1) // 2
                if self.count(" ".join(words[-middle:])) <= budget:
                    low = middle
                else:
                    high = middle - 1
            if low:
                text = " ".join(words[-low:])
                carried.insert(0, _Unit(text, self.count(text), unit.block))
            break
        return carried

    def section_chunks(self, indexes):
        """One section's blocks packed into chunks, overlapping by up to overlap_tokens."""
        chunks = [_Chunk()]
        for index in indexes:
            for unit in self.units(index):
                chunk = chunks[-1]
                if chunk.units and not self.fits(chunk, unit):
                    chunk = _Chunk()
                    if self.overlap:
                        room = self.max - unit.tokens - self.join_tokens[BLOCK_SEPARATOR]
                        for carried in self.tail(chunks[-1], min(self.overlap, room)):
                            self.add(chunk, carried)
                    chunks.append(chunk)
                self.add(chunk, unit)
        return chunks

    def headings_only(self, chunk):
        return all(self.blocks[u.block][4].startswith("heading") for u in chunk.units)

    def merge(self, into, chunk):
        """`chunk` appended to `into` if it fits; False (and `into` unchanged) otherwise."""
        join = self.join_tokens[BLOCK_SEPARATOR]
        if into.tokens + join + chunk.tokens > self.max:
            return False
        into.units.extend(chunk.units)
        into.tokens += join + chunk.tokens
        into.tiny = into.tiny and chunk.tiny
        return True

    def chunks(self):
        tiny_limit = self.max // TINY_SECTION_SHARE
        out = []
        start = 0
        while start < len(self.blocks):
            end = start
            while end < len(self.blocks) and self.blocks[end][1] == self.blocks[start][1]:
                end += 1
            section = self.section_chunks(range(start, end))
            section[0].tiny = len(section) == 1 and section[0].tokens <= tiny_limit
            previous = out[-1] if out else None
            # A heading with nothing under it but subsections leads the next section's chunk (so
            # it never trails the one before); two tiny sections share one.
            shares = previous and previous.tiny and section[0].tiny
            if previous and (self.headings_only(previous)
                             or shares and not self.headings_only(section[0])):
                if self.merge(previous, section[0]):
                    section = section[1:]
            out.extend(section)
            start = end
        return [self.as_dict(chunk) for chunk in out]

    def pages(self):
        by_page = {}
        for index, block in enumerate(self.blocks):
            unit = _Unit(block[0], 0, index)
            by_page.setdefault(block[2], _Chunk()).units.append(unit)
        return [self.as_dict(by_page[page]) for page in sorted(by_page)]

    def as_dict(self, chunk):
        ids, kinds, boxes, pages, paths = [], [], [], set(), []
        for unit in chunk.units:
            text, section, page, node_id, kind, box = self.blocks[unit.block]
            if not kind.startswith("heading") and self.sections[section] not in paths:
                paths.append(self.sections[section])
            if page:
                pages.add(page)
            if node_id in ids:
                continue
            ids.append(node_id)
            kinds.append(kind)
            boxes.append({"page": page, "x0": box[0], "y0": box[1], "x1": box[2], "y1": box[3]})
        if not paths:  # headings only
            paths = [self.sections[self.blocks[u.block][1]] for u in chunk.units]
        headings = list(paths[0])
        for path in paths[1:]:
            headings = headings[:_common(headings, path)]
        return {"text": BLOCK_SEPARATOR.join(u.text for u in chunk.units), "headings": headings,
                "pages": sorted(pages), "node_ids": ids, "kinds": kinds, "boxes": boxes}


def _common(a, b):
    length = 0
    while length < min(len(a), len(b)) and a[length] == b[length]:
        length += 1
    return length


def chunk(document: "_native.Document", max_tokens: int = 512, overlap_tokens: int = 0,
          tokenizer=None) -> "list[dict]":
    """The document as retrieval chunks of at most `max_tokens` tokens each.

    Chunks follow the sections: one never holds text of two sections unless both are tiny, and a
    heading with no text of its own leads the chunk of the section below it. A table, code
    block or list that fits in a chunk is never cut; a longer table is cut between rows, each
    piece repeating the header. With overlap_tokens, a section's next chunk starts with up to that
    many tokens from the end of the previous one.

    tokenizer: anything with encode(text) (a tiktoken Encoding, a Hugging Face tokenizer) or a
    callable returning a token count; None counts one token per four characters, rounded up.

    Each chunk is a dict: "text" (Markdown), "headings" (the section's heading path, outermost
    first), "pages" (1-based), and per node in it "node_ids", "kinds" and "boxes" ({"page",
    "x0", "y0", "x1", "y1"} in PDF points).

    >>> for piece in vorlin_reader.chunk(vorlin_reader.parse("paper.pdf"), max_tokens=256):
    ...     print(piece["headings"], piece["text"][:40])
    """
    for name, value, least in (("max_tokens", max_tokens, 1),
                               ("overlap_tokens", overlap_tokens, 0)):
        if not isinstance(value, int) or isinstance(value, bool):
            raise TypeError(f"{name} must be an int, got {type(value).__name__}")
        if value < least:
            raise ValueError(f"{name} must be at least {least}, got {value}")
    if overlap_tokens >= max_tokens:
        raise ValueError(f"overlap_tokens ({overlap_tokens}) must be less than max_tokens "
                         f"({max_tokens})")
    count = _counter(tokenizer)
    sections, blocks = _native._blocks(document)
    return _Packer(sections, blocks, max_tokens, overlap_tokens, count).chunks()


def pages(document: "_native.Document") -> "list[dict]":
    """One dict per page with text, shaped like chunk()'s: the page's blocks in reading order."""
    sections, blocks = _native._blocks(document)
    return _Packer(sections, blocks, 1, 0, approximate_tokens).pages()
