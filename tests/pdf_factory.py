"""Small reportlab PDFs for the tests and benchmarks; every paragraph starts with a unique word."""

import functools
import io

from PIL import Image
from reportlab.lib.utils import ImageReader
from reportlab.pdfbase.pdfmetrics import stringWidth
from reportlab.pdfgen import canvas
from reportlab.platypus import SimpleDocTemplate, Table

A4 = (595.0, 842.0)
MARGIN = 56.0
BODY, BODY_SIZE, LEADING = "Helvetica", 10.0, 13.0
TITLE = "Harbour survey report"
FILLER = ("records the tides, the moorings and the state of the quay walls along the eastern "
          "basin, with notes on dredging and the winter storms that reshaped the channel.")
LEFT_WORDS = ("Amber", "Basil", "Cedar", "Dahlia", "Ember", "Fennel")
RIGHT_WORDS = ("Walnut", "Willow", "Yarrow", "Zinnia", "Thistle", "Sorrel")


def _drawn(draw):
    """A builder that draws on a reproducible in-memory canvas, returning the file's bytes."""
    @functools.wraps(draw)
    def build(*args, **kwargs):
        out = io.BytesIO()
        pdf = canvas.Canvas(out, pagesize=A4, invariant=1)
        draw(pdf, *args, **kwargs)
        pdf.save()
        return out.getvalue()
    return build


GRID = [("GRID", (0, 0), (-1, -1), 0.5, (0, 0, 0))]


class _Column:
    """Writes headings and paragraphs downwards from (x, y) within one column."""

    def __init__(self, pdf, x, y, width):
        self.pdf, self.x, self.y, self.width = pdf, x, y, width

    def heading(self, text, size):
        self.y -= size * 0.6
        self.pdf.setFont("Helvetica-Bold", size)
        self.pdf.drawString(self.x, self.y, text)
        self.y -= size * 1.2

    def paragraph(self, text):
        self.pdf.setFont(BODY, BODY_SIZE)
        line = ""
        for word in text.split() + [None]:
            candidate = f"{line} {word}".strip()
            if word is None or line and stringWidth(candidate, BODY, BODY_SIZE) > self.width:
                self.pdf.drawString(self.x, self.y, line)
                self.y -= LEADING
                line = word
            else:
                line = candidate
        self.y -= LEADING * 0.6


def paragraph_text(word, repeat=1):
    return " ".join([f"{word} {FILLER}"] + [FILLER] * (repeat - 1))


@_drawn
def report(pdf, pages=1, image=None, paragraphs=2, repeat=1, outline=()):
    """Title; per page two columns of heading, paragraph i starting LEFT_WORDS[i] / RIGHT_WORDS[i]
    + page (when pages > 1), subheading; a page number; `image` 180 x 120 pt at the left margin
    under page 1's columns; `outline`: bookmarks (level from 1, title) to page 1."""
    for key, (level, title) in enumerate(outline):
        pdf.bookmarkPage(str(key))
        pdf.addOutlineEntry(title, str(key), level=level - 1)
    width, height = A4
    column = (width - 2 * MARGIN - 28) / 2
    for page in range(1, pages + 1):
        top = height - 72
        if page == 1:
            pdf.setFont("Helvetica-Bold", 22)
            pdf.drawString(MARGIN, top, TITLE)
            top -= 48
        suffix = str(page) if pages > 1 else ""
        columns = [_Column(pdf, MARGIN, top, column), _Column(pdf, width / 2 + 14, top, column)]
        for side, (writer, words) in enumerate(zip(columns, (LEFT_WORDS, RIGHT_WORDS))):
            section = 2 * (page - 1) + side + 1
            writer.heading(f"{section} {words[0]} section", 15)
            writer.paragraph(paragraph_text(words[0] + suffix, repeat))
            writer.heading(f"{section}.1 {words[1]} details", 12)
            for word in words[1:paragraphs]:
                writer.paragraph(paragraph_text(word + suffix, repeat))
        if page == 1 and image is not None:
            bottom = min(writer.y for writer in columns) - 20 - 120
            pdf.drawImage(ImageReader(image), MARGIN, bottom, 180, 120, mask="auto")
        pdf.setFont(BODY, 9)
        pdf.drawCentredString(width / 2, 30, str(page))
        pdf.showPage()


def gradient(mode="RGB", size=(37, 23)):
    """Red | blue halves (a channel swap or a lost stride shows); "RGBA" fades out downwards."""
    width, height = size
    image = Image.new("RGB", size, (20, 40, 230))
    image.paste((220, 30, 20), (0, 0, width // 2, height))
    if mode == "RGBA":
        image.putalpha(Image.frombytes("L", size, bytes(
            255 - y * 255 // (height - 1) for y in range(height) for _ in range(width))))
    return image.convert(mode)


@_drawn
def image_page(pdf, image, box=(100, 500, 200, 100)):
    """One page holding only `image` (PIL), drawn at box (x, y, width, height)."""
    pdf.drawImage(ImageReader(image), *box)


@_drawn
def sideways_page(pdf, how):
    """TITLE and LEFT_WORDS[0]'s paragraph on a page turned by /Rotate 90 ("rotate"), or turned a
    quarter across an upright page as LaTeX's sidewaystable sets it ("sideways")."""
    if how == "rotate":
        pdf.setPageSize(A4[::-1])  # reportlab swaps the media box of a quarter-turned page
        pdf.setPageRotation(90)
        width, height = A4
    else:
        pdf.transform(0, 1, -1, 0, A4[0], 0)
        width, height = A4[::-1]
    pdf.setFont("Helvetica-Bold", 20)
    pdf.drawString(MARGIN, height - 72, TITLE)
    _Column(pdf, MARGIN, height - 112, width - 2 * MARGIN).paragraph(paragraph_text(LEFT_WORDS[0]))


FOOTNOTE = "1 Footnotes sit under a short rule in small type at the foot of the page."


@_drawn
def article(pdf, pages=3):
    """Page p: a paragraph of LEFT_WORDS[p - 1] + p, the page number at 12 % of the height as
    LaTeX sets it; page 1 also FOOTNOTE in 8 pt under a short rule."""
    width, height = A4
    for page in range(1, pages + 1):
        _Column(pdf, MARGIN, height - 100, width - 2 * MARGIN).paragraph(
            paragraph_text(f"{LEFT_WORDS[page - 1]}{page}", repeat=3))
        if page == 1:
            pdf.line(MARGIN, 0.12 * height + 50, MARGIN + 140, 0.12 * height + 50)
            pdf.setFont(BODY, 8)
            pdf.drawString(MARGIN, 0.12 * height + 38, FOOTNOTE)
        pdf.setFont(BODY, BODY_SIZE)
        pdf.drawCentredString(width / 2, 0.12 * height, str(page))
        pdf.showPage()


GRID_ROWS = [["Port", "Depth", "Berths"], ["North quay", "12.5", "4"],
             ["East basin", "9.0", "a|b"], ["Dry dock", "7.2", "1"]]
OPEN_ROWS = [["Vessel", "Tonnage"], ["Harbour tug", "310"], ["Dredger", "1450"],
             ["Pilot boat", "25"]]


TABLE_CAPTION = "Table 3: Quays of the coast."
# Rules above, below the header, below the last row.
OPEN_STYLE = [("LINEABOVE", (0, 0), (-1, 0), 1, (0, 0, 0)),
              ("LINEBELOW", (0, 0), (-1, 0), 0.5, (0, 0, 0)),
              ("LINEBELOW", (0, -1), (-1, -1), 1, (0, 0, 0))]


@_drawn
def tables(pdf):
    """Between two paragraphs: GRID_ROWS ruled over TABLE_CAPTION, OPEN_ROWS booktabs-style."""
    width, height = A4
    writer = _Column(pdf, MARGIN, height - 72, width - 2 * MARGIN)
    writer.paragraph(paragraph_text("Amber"))
    for rows, style, caption in ((GRID_ROWS, GRID, TABLE_CAPTION), (OPEN_ROWS, OPEN_STYLE, None)):
        table = Table(rows, style=style)
        writer.y -= table.wrapOn(pdf, width, height)[1] + 12
        table.drawOn(pdf, MARGIN, writer.y)
        writer.y -= 24
        if caption:
            writer.paragraph(caption)
    writer.paragraph(paragraph_text("Basil"))
    pdf.showPage()


@_drawn
def table_beside_prose(pdf):
    """Paragraphs Amber, Basil, Cedar in the left column; OPEN_ROWS, then Walnut, in the right."""
    column, top = (A4[0] - 2 * MARGIN - 28) / 2, A4[1] - 72
    left, right = _Column(pdf, MARGIN, top, column), _Column(pdf, A4[0] / 2 + 14, top, column)
    for word in LEFT_WORDS[:3]:
        left.paragraph(paragraph_text(word))
    table = Table(OPEN_ROWS, style=OPEN_STYLE)
    right.y -= table.wrapOn(pdf, column, top)[1] + 24
    table.drawOn(pdf, right.x, right.y + 24)
    right.paragraph(paragraph_text(RIGHT_WORDS[0]))
    pdf.showPage()


LONG_ROWS = [["Berth", "Length"]] + [[f"Quay {i}", str(100 + i)] for i in range(70)]


def split_table(repeat_header):
    """LONG_ROWS ruled over two pages, the header repeated on the second if `repeat_header`."""
    out = io.BytesIO()
    table = Table(LONG_ROWS, repeatRows=1 if repeat_header else 0, style=GRID)
    SimpleDocTemplate(out, pagesize=A4, invariant=1).build([table])
    return out.getvalue()


CUT_ROWS = [["Berth", "Works"], ["Quay 1", "none"], ["Quay 2", "dredged in the spring"],
            ["Quay 3", "none"]]


@_drawn
def split_under_a_layer(pdf):
    """CUT_ROWS over a page break as a browser prints them: the break cuts a row, page two repeats
    the header, and a site bar with a search field is painted over that repeat."""
    parts = CUT_ROWS[:2] + [["Quay 2", "dredged in"]], [CUT_ROWS[0], ["", "the spring"], CUT_ROWS[3]]
    for page, rows in enumerate(parts):
        table = Table(rows, colWidths=(120, 200), style=GRID)
        height = table.wrapOn(pdf, *A4)[1]
        table.drawOn(pdf, MARGIN, A4[1] - MARGIN - height if page else MARGIN)
        if not page:
            pdf.showPage()
    bar = A4[1] - MARGIN - height / len(rows) - 4  # just below the repeated header
    pdf.setFillColorRGB(1, 1, 1)
    pdf.rect(0, bar, A4[0], A4[1] - bar, stroke=0, fill=1)
    pdf.rect(MARGIN + 150, bar + 8, 200, 20)


@_drawn
def scanned(pdf, pdf_bytes, dpi=150):
    """`pdf_bytes`' pages as a scanner gives them: one page-sized gray image each, no text."""
    import pypdfium2

    for page in pypdfium2.PdfDocument(pdf_bytes):
        pdf.drawImage(ImageReader(page.render(scale=dpi / 72, grayscale=True).to_pil()), 0, 0, *A4)
        pdf.showPage()
