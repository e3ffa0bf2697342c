"""The GUI font as an engine bitmap font.

Layout the engine reads: pixel (0, 0) holds the upper-left marker colour,
(1, 0) the lower-right marker colour and (2, 0) the background colour.  The
engine scans rows top to bottom, each left to right; every upper-left marker
opens a glyph and the k-th lower-right marker closes glyph k, which becomes
character 32 + k.  A glyph's pixels are [UL.x, LR.x) x [UL.y, LR.y) and its
advance is LR.x - UL.x.  Background pixels become transparent, anything else
is ink and is multiplied by the draw colour.

So: one row of glyphs shares one height and its lower-right markers one
scanline, the next row starts below that scanline, glyph 0 is the space with
its corner at (0, 0), and the three marker colours appear nowhere else.
"""

import numpy as np
from PIL import Image, ImageDraw, ImageFont

from layout import FONT_BG, FONT_FIRST, FONT_LAST, FONT_LR, FONT_SIZE, FONT_UL

PIXEL_SIZE = 12      # em size in pixels: ascent 12 + descent 3 = 15 px lines
INK_FLOOR = 48       # faint antialiasing below this coverage is left out: on
                     # 24-bit ink it would draw as dark specks, not as a blend


class FontError(Exception):
    pass


def load_font(path):
    try:
        return ImageFont.truetype(path, PIXEL_SIZE)
    except OSError as e:
        raise FontError("cannot read the TrueType font %s (%s); install fonts-dejavu-core "
                        "or pass --font FILE" % (path, e))


def glyph_bitmaps(font):
    """[(code, coverage array h x w)] with one common height."""
    ascent, descent = font.getmetrics()
    height = ascent + descent
    out = []
    for code in range(FONT_FIRST, FONT_LAST + 1):
        ch = chr(code)
        advance = int(round(font.getlength(ch)))
        left, top, right, bottom = font.getbbox(ch, anchor="la")
        shift = max(0, -left)            # ink left of the pen: widen the cell
        width = max(advance + shift, right + shift)
        if code == 32:
            width = max(width, 3)        # the space carries the three samples
        img = Image.new("L", (width, height), 0)
        if code != 32:
            ImageDraw.Draw(img).text((shift, 0), ch, font=font, fill=255, anchor="la")
        out.append((code, np.asarray(img, dtype=np.uint8)))
    return out, height


def build_font_sheet(font):
    glyphs, height = glyph_bitmaps(font)
    sheet_w = FONT_SIZE[0]
    # Place the cells: each cell is the glyph plus one column (right) and one
    # row (below) for the lower-right marker.
    places = []
    x = y = 0
    for code, bmp in glyphs:
        w = bmp.shape[1]
        if x + w + 1 > sheet_w:
            x = 0
            y += height + 1
        places.append((code, x, y, bmp))
        x += w + 1
    needed_h = y + height + 1
    sheet_h = FONT_SIZE[1]
    while sheet_h < needed_h:
        sheet_h *= 2

    img = np.zeros((sheet_h, sheet_w, 3), dtype=np.uint8)
    img[:, :] = FONT_BG
    for code, x0, y0, bmp in places:
        h, w = bmp.shape
        ink = np.where(bmp >= INK_FLOOR, bmp, 0)
        cell = img[y0:y0 + h, x0:x0 + w]
        for c in range(3):
            cell[..., c] = np.where(ink > 0, ink, cell[..., c])
        img[y0, x0] = FONT_UL
        img[y0 + h, x0 + w] = FONT_LR
    # The samples: (0, 0) is already the space's UL marker; (1, 0) tells the
    # LR colour (the engine paints it over with the background before the
    # scan) and (2, 0) the background.
    img[0, 1] = FONT_LR
    img[0, 2] = FONT_BG
    return img, height, [(code, x0, y0, bmp.shape[1]) for code, x0, y0, bmp in places]
