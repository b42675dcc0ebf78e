"""Small PDFs drawn with reportlab for the PDFium end-to-end tests and benchmarks.

Every builder returns the bytes of a complete PDF. Text is chosen so that each paragraph starts
with a word found nowhere else, which lets a test locate it in the Markdown.
"""

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
    """A title (page 1), then per page two columns, each a numbered heading (level 2), a paragraph,
    a numbered subheading (level 3) and further paragraphs, and a centred page number.

    image: a PIL image drawn 180 x 120 pt at the left margin under the columns of page 1, or None.
    Paragraph i of page p starts with LEFT_WORDS[i] / RIGHT_WORDS[i] followed by the page number
    when pages > 1 (e.g. "Amber3").
    """
    buffer = io.BytesIO()
    pdf = canvas.Canvas(buffer, pagesize=A4, invariant=1, pageCompression=int(compress))
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
    pdf.save()
    return buffer.getvalue()


def gradient(mode="RGB", size=(37, 23)):
    """An image whose left half is red and right half blue (grey levels for "L"), so that a
    channel swap or a lost stride shows; "RGBA" fades from opaque at the top to clear."""
    width, height = size
    image = Image.new(mode, size)
    for y in range(height):
        for x in range(width):
            if mode == "L":
                image.putpixel((x, y), 40 if x < width // 2 else 200)
                continue
            colour = (220, 30, 20) if x < width // 2 else (20, 40, 230)
            if mode == "RGBA":
                colour += (255 - y * 255 // max(height - 1, 1),)
            image.putpixel((x, y), colour)
    return image


def image_in_forms(image, box, depth, step=(30.0, 40.0, 0.5)):
    """One page with `image` drawn at box (x, y, w, h) inside `depth` nested form XObjects, each
    placed with translate(step[0], step[1]) then scale(step[2]). Returns (pdf bytes, the box the
    image covers on the page as (x0, y0, x1, y1))."""
    buffer = io.BytesIO()
    pdf = canvas.Canvas(buffer, pagesize=A4, invariant=1)
    dx, dy, scale = step
    x, y, w, h = box
    if depth == 0:
        pdf.drawImage(ImageReader(image), x, y, w, h)
    else:
        pdf.beginForm("level0")
        pdf.drawImage(ImageReader(image), x, y, w, h)
        pdf.endForm()
        for level in range(1, depth + 1):
            if level < depth:
                pdf.beginForm(f"level{level}")
            pdf.saveState()
            pdf.translate(dx, dy)
            pdf.scale(scale, scale)
            pdf.doForm(f"level{level - 1}")
            pdf.restoreState()
            if level < depth:
                pdf.endForm()
    pdf.showPage()
    pdf.save()
    x0, y0, x1, y1 = x, y, x + w, y + h
    for _ in range(depth):
        x0, y0, x1, y1 = (dx + scale * x0, dy + scale * y0, dx + scale * x1, dy + scale * y1)
    return buffer.getvalue(), (x0, y0, x1, y1)


def _upright(rotation, width, height):
    """The matrix that draws upright on a page turned by /Rotate `rotation`, taking coordinates of
    the page as shown (origin lower left) to the unrotated space of a width x height box."""
    return {
        0: (1, 0, 0, 1, 0, 0),
        90: (0, 1, -1, 0, width, 0),
        180: (-1, 0, 0, -1, width, height),
        270: (0, -1, 1, 0, 0, height),
    }[rotation]


def framed_page(rotation=0, crop=None, media=A4):
    """A page with /Rotate `rotation` and an optional crop box (x0, y0, x1, y1), its title and one
    paragraph drawn so that they read upright once shown. Returns (pdf bytes, shown width, shown
    height); the title's baseline starts at (MARGIN, shown height - 72) as shown."""
    crop = crop or (0, 0, *media)
    visible_w, visible_h = crop[2] - crop[0], crop[3] - crop[1]
    shown_w, shown_h = (visible_h, visible_w) if rotation in (90, 270) else (visible_w, visible_h)
    buffer = io.BytesIO()
    # reportlab swaps the media box of a quarter-turned page; hand it the swapped size back.
    pagesize = (media[1], media[0]) if rotation in (90, 270) else media
    pdf = canvas.Canvas(buffer, pagesize=pagesize, invariant=1)
    pdf.setPageRotation(rotation)
    if crop != (0, 0, *media):
        pdf.setCropBox(crop)
    a, b, c, d, e, f = _upright(rotation, visible_w, visible_h)
    pdf.transform(a, b, c, d, e + crop[0], f + crop[1])
    writer = _Column(pdf, MARGIN, shown_h - 72, shown_w - 2 * MARGIN)
    pdf.setFont("Helvetica-Bold", 20)
    pdf.drawString(MARGIN, shown_h - 72, TITLE)
    writer.y -= 40
    writer.paragraph(paragraph_text(LEFT_WORDS[0]))
    pdf.showPage()
    pdf.save()
    return buffer.getvalue(), shown_w, shown_h


def scaled_text(via):
    """A title at 24 pt over a paragraph at 10 pt, every glyph set in a `1 Tf` font and sized
    through the text matrix ("Tm") or the current transformation ("cm")."""
    buffer = io.BytesIO()
    pdf = canvas.Canvas(buffer, pagesize=A4, invariant=1)
    lines = [(TITLE, "Helvetica-Bold", 24.0, 760.0)]
    y = 720.0
    for line in _wrap(paragraph_text(LEFT_WORDS[0]), A4[0] - 2 * MARGIN):
        lines.append((line, BODY, BODY_SIZE, y))
        y -= LEADING
    for text, font, size, baseline in lines:
        pdf.saveState()
        if via == "cm":
            pdf.transform(size, 0, 0, size, MARGIN, baseline)
            matrix = (1, 0, 0, 1, 0, 0)
        else:
            matrix = (size, 0, 0, size, MARGIN, baseline)
        writer = pdf.beginText()
        writer.setFont(font, 1)
        writer.setTextTransform(*matrix)
        writer.textOut(text)
        pdf.drawText(writer)
        pdf.restoreState()
    pdf.showPage()
    pdf.save()
    return buffer.getvalue()


def ligature_text():
    """LIGATURES set in reportlab's bundled Vera: U+FB01 and U+FB02 are ligature glyphs (what a
    typesetter's "fi" and "fl" become); Vera has no U+FB03, which is drawn as the missing glyph
    and so has no Unicode value."""
    registerFont(TTFont("Vera", "Vera.ttf"))
    buffer = io.BytesIO()
    pdf = canvas.Canvas(buffer, pagesize=A4, invariant=1)
    pdf.setFont("Vera", 12)
    pdf.drawString(MARGIN, 760, LIGATURES)
    pdf.showPage()
    pdf.save()
    return buffer.getvalue()


def encrypted(user_password):
    """The one-page report, encrypted (RC4 128); an empty user password opens without asking."""
    buffer = io.BytesIO()
    security = StandardEncryption(user_password, ownerPassword="owner-secret", strength=128)
    pdf = canvas.Canvas(buffer, pagesize=A4, invariant=1, encrypt=security)
    _Column(pdf, MARGIN, A4[1] - 72, A4[0] - 2 * MARGIN).paragraph(paragraph_text("Amber"))
    pdf.showPage()
    pdf.save()
    return buffer.getvalue()


def shadowed_pdfium(folder, library_bytes):
    """Environment for a child process whose `pypdfium2_raw` is a stand-in in `folder` holding
    `library_bytes` as libpdfium.so (no file when None): how a broken or missing PDFium looks."""
    package = os.path.join(folder, "pypdfium2_raw")
    os.makedirs(package, exist_ok=True)
    open(os.path.join(package, "__init__.py"), "w").close()
    if library_bytes is not None:
        with open(os.path.join(package, "libpdfium.so"), "wb") as stream:
            stream.write(library_bytes)
    env = dict(os.environ)
    env["PYTHONPATH"] = os.pathsep.join(filter(None, [folder, env.get("PYTHONPATH")]))
    return env


@functools.cache
def _pdfium_unavailable_reason():
    # Probed in a child process so that this process's loader state is left alone.
    probe = ("import sys, tempfile, vorlin_reader\n"
             "with tempfile.NamedTemporaryFile(suffix='.pdf') as f:\n"
             "    try:\n"
             "        vorlin_reader.parse(f.name, backend='pdfium')\n"
             "    except ValueError as error:\n"
             "        if 'could not be loaded' in str(error):\n"
             "            sys.exit(str(error))\n")
    run = subprocess.run([sys.executable, "-c", probe], capture_output=True, text=True)
    if run.returncode == 0:
        return None
    return run.stderr.strip() or f"probe exited with {run.returncode}"


def require_pdfium():
    """Skips the calling test when the PDFium library cannot be loaded."""
    reason = _pdfium_unavailable_reason()
    if reason is not None:
        import pytest

        pytest.skip(f"PDFium unavailable: {reason}")
