"""Small PDFs drawn with reportlab for the PDFium end-to-end tests and benchmarks; every paragraph
starts with a word found nowhere else, so a test can locate it in the Markdown."""

import functools
import io
import os
import subprocess
import sys

from PIL import Image
from reportlab.lib.pdfencrypt import StandardEncryption
from reportlab.lib.utils import ImageReader
from reportlab.pdfbase.pdfmetrics import registerFont, stringWidth
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.pdfgen import canvas

A4 = (595.0, 842.0)
MARGIN = 56.0
GUTTER = 28.0
BODY, BODY_SIZE, LEADING = "Helvetica", 10.0, 13.0
TITLE = "Harbour survey report"
FILLER = ("records the tides, the moorings and the state of the quay walls along the eastern "
          "basin, with notes on dredging and the winter storms that reshaped the channel.")
LEFT_WORDS = ("Amber", "Basil", "Cedar", "Dahlia", "Ember", "Fennel")
RIGHT_WORDS = ("Walnut", "Willow", "Yarrow", "Zinnia", "Thistle", "Sorrel")
LIGATURES = "The \ufb01rst \ufb02oor of the o\ufb03ce"


class _Pdf(canvas.Canvas):
    """A reproducible canvas drawn into memory; `done()` returns the finished file's bytes."""

    def __init__(self, pagesize=A4, **options):
        self._out = io.BytesIO()
        super().__init__(self._out, pagesize=pagesize, invariant=1, **options)

    def done(self):
        self.save()  # shows a page still being drawn
        return self._out.getvalue()


def _wrap(text, width, font=BODY, size=BODY_SIZE):
    lines, line = [], ""
    for word in text.split():
        candidate = f"{line} {word}".strip()
        if line and stringWidth(candidate, font, size) > width:
            lines.append(line)
            line = word
        else:
            line = candidate
    return lines + [line] if line else lines


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
        for line in _wrap(text, self.width):
            self.pdf.drawString(self.x, self.y, line)
            self.y -= LEADING
        self.y -= LEADING * 0.6


def paragraph_text(word, repeat=1):
    return " ".join([f"{word} {FILLER}"] + [FILLER] * (repeat - 1))


def report(pages=1, image=None, paragraphs=2, repeat=1, compress=True):
    """A title on page 1, then per page two columns of a numbered heading (level 2), a paragraph, a
    numbered subheading (level 3) and further paragraphs, and a centred page number. `image` (PIL)
    is drawn 180 x 120 pt at the left margin under page 1's columns. Paragraph i of page p starts
    with LEFT_WORDS[i] / RIGHT_WORDS[i], followed by p when pages > 1 (e.g. "Amber3")."""
    pdf = _Pdf(pageCompression=int(compress))
    width, height = A4
    column = (width - 2 * MARGIN - GUTTER) / 2
    for page in range(1, pages + 1):
        top = height - 72
        if page == 1:
            pdf.setFont("Helvetica-Bold", 22)
            pdf.drawString(MARGIN, top, TITLE)
            top -= 48
        suffix = str(page) if pages > 1 else ""
        columns = [_Column(pdf, MARGIN, top, column),
                   _Column(pdf, MARGIN + column + GUTTER, top, column)]
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
    return pdf.done()


def gradient(mode="RGB", size=(37, 23)):
    """Left half red, right half blue (two greys for "L"), so that a channel swap or a lost stride
    shows; "RGBA" fades from opaque at the top to clear at the bottom."""
    width, height = size
    image = Image.new("RGB", size, (20, 40, 230))
    image.paste((220, 30, 20), (0, 0, width // 2, height))
    if mode == "RGBA":
        image.putalpha(Image.frombytes("L", size, bytes(
            255 - y * 255 // max(height - 1, 1) for y in range(height) for _ in range(width))))
    return image.convert(mode)


def image_page(image, box):
    """One page holding only `image` (PIL), drawn at box (x, y, width, height)."""
    pdf = _Pdf()
    pdf.drawImage(ImageReader(image), *box)
    return pdf.done()


def framed_page(rotation=0, crop=None):
    """An A4 page with /Rotate `rotation` and an optional crop box (x0, y0, x1, y1), its title and
    a paragraph upright as shown. Returns (pdf bytes, shown width, shown height); the title's
    baseline starts at (MARGIN, shown height - 72) as shown."""
    crop = crop or (0, 0, *A4)
    w, h = crop[2] - crop[0], crop[3] - crop[1]
    turned = rotation in (90, 270)
    shown_w, shown_h = (h, w) if turned else (w, h)
    # reportlab swaps the media box of a quarter-turned page; hand it the swapped size back.
    pdf = _Pdf(pagesize=A4[::-1] if turned else A4)
    pdf.setPageRotation(rotation)
    if crop != (0, 0, *A4):
        pdf.setCropBox(crop)
    # Takes coordinates as shown (origin lower left) into the unrotated visible box.
    a, b, c, d, e, f = {0: (1, 0, 0, 1, 0, 0), 90: (0, 1, -1, 0, w, 0),
                        180: (-1, 0, 0, -1, w, h), 270: (0, -1, 1, 0, 0, h)}[rotation]
    pdf.transform(a, b, c, d, e + crop[0], f + crop[1])
    pdf.setFont("Helvetica-Bold", 20)
    pdf.drawString(MARGIN, shown_h - 72, TITLE)
    body = _Column(pdf, MARGIN, shown_h - 112, shown_w - 2 * MARGIN)
    body.paragraph(paragraph_text(LEFT_WORDS[0]))
    return pdf.done(), shown_w, shown_h


def sideways_page(how):
    """TITLE and the paragraph of LEFT_WORDS[0] running down the page as shown ("rotate": drawn
    upright on a page turned by /Rotate 90) or up it ("sideways": turned a quarter on an upright
    page across its long side, as LaTeX's sidewaystable sets it)."""
    if how == "rotate":
        pdf = _Pdf(pagesize=A4[::-1])  # reportlab swaps the media box of a quarter-turned page
        pdf.setPageRotation(90)
        width, height = A4
    else:
        pdf = _Pdf()
        pdf.transform(0, 1, -1, 0, A4[0], 0)
        width, height = A4[::-1]
    pdf.setFont("Helvetica-Bold", 20)
    pdf.drawString(MARGIN, height - 72, TITLE)
    body = _Column(pdf, MARGIN, height - 112, width - 2 * MARGIN)
    body.paragraph(paragraph_text(LEFT_WORDS[0]))
    return pdf.done()


FOOTNOTE = "1 Footnotes sit under a short rule in small type at the foot of the page."


def article(pages=3):
    """A LaTeX article's pages: on page p one paragraph of LEFT_WORDS[p - 1] + str(p), the page
    number centred at 12 % of the height as LaTeX sets it, and on page 1 FOOTNOTE in 8 pt under
    a short rule."""
    pdf = _Pdf()
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
    return pdf.done()


def ligature_text():
    """LIGATURES in reportlab's bundled Vera: U+FB01 and U+FB02 are ligature glyphs; Vera has no
    U+FB03, which is drawn as the missing glyph and so has no Unicode value."""
    registerFont(TTFont("Vera", "Vera.ttf"))
    pdf = _Pdf()
    pdf.setFont("Vera", 12)
    pdf.drawString(MARGIN, 760, LIGATURES)
    return pdf.done()


def encrypted(user_password):
    """One paragraph, encrypted (RC4 128); an empty user password opens without asking."""
    pdf = _Pdf(encrypt=StandardEncryption(user_password, ownerPassword="owner-secret",
                                          strength=128))
    _Column(pdf, MARGIN, A4[1] - 72, A4[0] - 2 * MARGIN).paragraph(paragraph_text("Amber"))
    return pdf.done()


def shadowed_pdfium(folder, library_bytes):
    """Environment for a child process whose `pypdfium2_raw` holds `library_bytes` as
    libpdfium.so (no file when None): how a broken or missing PDFium looks."""
    package = os.path.join(folder, "pypdfium2_raw")
    os.makedirs(package, exist_ok=True)
    open(os.path.join(package, "__init__.py"), "w").close()
    if library_bytes is not None:
        with open(os.path.join(package, "libpdfium.so"), "wb") as stream:
            stream.write(library_bytes)
    path = os.pathsep.join(filter(None, [folder, os.environ.get("PYTHONPATH")]))
    return dict(os.environ, PYTHONPATH=path)


@functools.cache
def _pdfium_unavailable_reason():
    # Probed in a child process so that this process's loader state is left alone; an empty file
    # is merely rejected once the library loads.
    probe = ("import sys, tempfile, vorlin_reader\n"
             "with tempfile.NamedTemporaryFile(suffix='.pdf') as f:\n"
             "    outcome = vorlin_reader.parse_batch([f.name], backend='pdfium')[f.name]\n"
             "sys.exit(outcome if 'could not be loaded' in outcome else 0)\n")
    run = subprocess.run([sys.executable, "-c", probe], capture_output=True, text=True)
    return None if run.returncode == 0 else run.stderr.strip() or f"probe exit {run.returncode}"


def require_pdfium():
    """Skips the calling test when the PDFium library cannot be loaded."""
    reason = _pdfium_unavailable_reason()
    if reason is not None:
        import pytest

        pytest.skip(f"PDFium unavailable: {reason}")
