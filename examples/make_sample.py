#!/usr/bin/env python3
"""Writes examples/sample.pdf: a small two-page report with a title, numbered section
headings at two levels, two-column body text, page numbers and a captioned image.

Development tool only (needs reportlab):  python examples/make_sample.py
"""
import io
import os
import sys
import zlib

from reportlab.lib.pagesizes import A4
from reportlab.lib.utils import ImageReader
from reportlab.pdfgen import canvas

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = A4
MARGIN = 56
GUTTER = 24
COLUMN = (WIDTH - 2 * MARGIN - GUTTER) / 2
BODY_FONT, BODY_SIZE, LEADING = "Helvetica", 10, 13

PARAGRAPHS = [
    "Retrieval pipelines need text in the order a person reads it. A page set in two columns "
    "must be read down the left column before the right one, and headings must keep their rank.",
    "Geometry alone recovers most of that structure: characters form lines, lines form words "
    "and paragraphs, and the widest empty strips of the page separate columns and sections.",
    "Running headers, page numbers and captions are furniture: they belong to the page, not "
    "to the flow of the text, and a good extractor keeps them out of the way of the reader.",
    "The method is simple enough to be fast and precise enough to be predictable, which is "
    "what an indexing job over thousands of documents needs from its first stage.",
]


def png_bytes(width=48, height=32):
    """A small RGB gradient as a PNG file, made without any imaging library."""
    def chunk(kind, data):
        body = kind + data
        return len(data).to_bytes(4, "big") + body + zlib.crc32(body).to_bytes(4, "big")

    rows = b"".join(
        b"\x00" + b"".join(bytes((x * 5 % 256, y * 8 % 256, 160)) for x in range(width))
        for y in range(height)
    )
    header = width.to_bytes(4, "big") + height.to_bytes(4, "big") + bytes((8, 2, 0, 0, 0))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows))
            + chunk(b"IEND", b""))


def wrap(text, width, font=BODY_FONT, size=BODY_SIZE):
    lines, line = [], ""
    for word in text.split():
        candidate = f"{line} {word}".strip()
        if canvas.Canvas(io.BytesIO()).stringWidth(candidate, font, size) <= width:
            line = candidate
        else:
            lines.append(line)
            line = word
    return lines + [line] if line else lines


class Writer:
    def __init__(self, pdf, x, y):
        self.pdf, self.x, self.y = pdf, x, y

    def heading(self, text, size):
        self.y -= size * 0.6
        self.pdf.setFont("Helvetica-Bold", size)
        self.pdf.drawString(self.x, self.y, text)
        self.y -= size * 1.2

    def paragraph(self, text):
        self.pdf.setFont(BODY_FONT, BODY_SIZE)
        for line in wrap(text, COLUMN):
            self.pdf.drawString(self.x, self.y, line)
            self.y -= LEADING
        self.y -= LEADING * 0.6


def page_number(pdf, number):
    pdf.setFont(BODY_FONT, 9)
    pdf.drawCentredString(WIDTH / 2, 30, str(number))


def main(path=os.path.join(HERE, "sample.pdf")):
    pdf = canvas.Canvas(path, pagesize=A4, invariant=1)
    pdf.setTitle("Reading order in practice")

    pdf.setFont("Helvetica-Bold", 22)
    pdf.drawString(MARGIN, HEIGHT - 80, "Reading order in practice")
    top = HEIGHT - 130
    left = Writer(pdf, MARGIN, top)
    left.heading("1 Introduction", 15)
    left.paragraph(PARAGRAPHS[0])
    left.paragraph(PARAGRAPHS[1])
    left.heading("1.1 Scope", 12)
    left.paragraph(PARAGRAPHS[2])
    right = Writer(pdf, MARGIN + COLUMN + GUTTER, top)
    right.heading("2 Method", 15)
    right.paragraph(PARAGRAPHS[3])
    right.heading("2.1 Lines and words", 12)
    right.paragraph(PARAGRAPHS[1])
    page_number(pdf, 1)
    pdf.showPage()

    body = Writer(pdf, MARGIN, HEIGHT - 80)
    body.heading("3 Results", 15)
    image_top = body.y - 10
    pdf.drawImage(ImageReader(io.BytesIO(png_bytes())), MARGIN, image_top - 160, 240, 160)
    pdf.setFont("Helvetica-Oblique", 9)
    pdf.drawString(MARGIN, image_top - 176, "Figure 1: Reading order recovered on a two-column page.")
    body.y = image_top - 200
    body.paragraph(PARAGRAPHS[3])
    page_number(pdf, 2)
    pdf.save()


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
