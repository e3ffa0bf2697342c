#!/usr/bin/env python3
"""Reads ESfont.bmp, ThumbNails.bmp and pictograms.bmp back and checks them.

The font is scanned the way the engine scans a bitmap font (marker colours
from pixels (0, 0), (1, 0) and (2, 0); rows top to bottom, each left to
right; the k-th lower-right marker closes glyph k = character 32 + k), so a
font that passes here loads with the same glyphs in the program.

Usage: python3 tools/sprites/check_sprites.py [--dir DIR]
"""

import argparse
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
DEFAULT_DIR = os.path.normpath(os.path.join(HERE, "..", "..", "data", "Starvane", "Data"))
SYSTEM_PYTHON = "/usr/bin/python3"


def ensure_modules(tool):
    try:
        import numpy  # noqa: F401
        import PIL.Image  # noqa: F401
    except ImportError as e:
        if os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON) and \
                os.path.exists(SYSTEM_PYTHON) and not os.environ.get("STARVANE_NO_REEXEC"):
            os.environ["STARVANE_NO_REEXEC"] = "1"
            os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON, os.path.abspath(sys.argv[0])] + sys.argv[1:])
        sys.stderr.write("%s: needs %s (apt-get install python3-numpy python3-pil)\n"
                         % (tool, e.name or "numpy and PIL"))
        sys.exit(1)


class CheckError(Exception):
    pass


def read_bmp24(path):
    """(h, w, 3) uint8 array of a 24-bit uncompressed BMP."""
    import numpy as np
    from PIL import Image
    if not os.path.isfile(path):
        raise CheckError("%s: missing" % path)
    with open(path, "rb") as f:
        head = f.read(54)
    if len(head) < 54 or head[:2] != b"BM":
        raise CheckError("%s: not a BMP file" % path)
    bpp = struct.unpack("<H", head[28:30])[0]
    compression = struct.unpack("<I", head[30:34])[0]
    if bpp != 24 or compression != 0:
        raise CheckError("%s: %d bits per pixel, compression %d; want 24-bit uncompressed"
                         % (path, bpp, compression))
    try:
        with Image.open(path) as im:
            return np.array(im.convert("RGB"))
    except OSError as e:
        raise CheckError("%s: unreadable (%s)" % (path, e))


def scan_font(img):
    """Engine's scan.  Returns (glyphs, notes): glyphs = [(code, x0, y0, x1, y1)]."""
    h, w = img.shape[:2]
    if w < 3:
        raise CheckError("font: narrower than the three sample pixels")
    px = (img[:, :, 0].astype("int64") << 16) | (img[:, :, 1].astype("int64") << 8) | img[:, :, 2]
    ul, lr, bg = int(px[0, 0]), int(px[0, 1]), int(px[0, 2])
    if len({ul, lr, bg}) != 3:
        raise CheckError("font: the three sample colours are not distinct")
    px = px.copy()
    px[0, 1] = bg
    uls = []
    lrs = []
    for y in range(h):
        row = px[y]
        for x in range(w):
            c = row[x]
            if c == ul:
                uls.append((x, y))
            elif c == lr:
                lrs.append((x, y))
    if not uls or not lrs or len(lrs) > len(uls):
        raise CheckError("font: %d upper-left and %d lower-right markers; the engine refuses it"
                         % (len(uls), len(lrs)))
    if len(uls) != len(lrs):
        raise CheckError("font: %d upper-left but %d lower-right markers" % (len(uls), len(lrs)))
    glyphs = []
    for k, ((x0, y0), (x1, y1)) in enumerate(zip(uls, lrs)):
        if x1 <= x0 or y1 <= y0:
            raise CheckError("font: glyph %d (code %d) has corners (%d,%d) and (%d,%d)"
                             % (k, 32 + k, x0, y0, x1, y1))
        glyphs.append((32 + k, x0, y0, x1, y1))
    return glyphs, (ul, lr, bg, px)


def check_font(path):
    import numpy as np
    from layout import FONT_FIRST, FONT_LAST
    img = read_bmp24(path)
    glyphs, (ul, lr, bg, px) = scan_font(img)
    want = FONT_LAST - FONT_FIRST + 1
    if len(glyphs) != want:
        raise CheckError("font: %d glyphs, want %d (codes %d..%d)"
                         % (len(glyphs), want, FONT_FIRST, FONT_LAST))
    if glyphs[0][1:3] != (0, 0):
        raise CheckError("font: glyph 0 does not start at (0, 0)")
    owned = np.zeros(px.shape, dtype=bool)
    widths = {}
    heights = set()
    for code, x0, y0, x1, y1 in glyphs:
        if owned[y0:y1, x0:x1].any():
            raise CheckError("font: glyph %r overlaps another" % chr(code))
        owned[y0:y1, x0:x1] = True
        cell = px[y0:y1, x0:x1]
        ink = (cell != bg) & (cell != ul) & (cell != lr)
        if code != 32 and not ink.any():
            raise CheckError("font: glyph %r has no ink" % chr(code))
        widths[chr(code)] = x1 - x0
        heights.add(y1 - y0)
    markers = (px == ul) | (px == lr) | (px == bg)
    stray = (~owned) & (~markers)
    if stray.any():
        y, x = np.argwhere(stray)[0]
        raise CheckError("font: ink outside every glyph at (%d, %d)" % (x, y))
    line = max(heights)
    if not 14 <= line <= 16:
        raise CheckError("font: line height %d, want 14..16" % line)
    if widths[" "] < 3:
        raise CheckError("font: the space is %d px wide, want at least 3" % widths[" "])
    if not (widths["W"] > widths["n"] > widths["i"] and widths["M"] > widths["l"]):
        raise CheckError("font: implausible widths W %d n %d i %d M %d l %d" % tuple(
            widths[c] for c in "WnilM"[:3] + "Ml"))
    if max(widths.values()) > 20 or min(widths.values()) < 2:
        raise CheckError("font: glyph widths %d..%d out of range"
                         % (min(widths.values()), max(widths.values())))
    hello = sum(widths[c] for c in "Hello")
    return ("ESfont.bmp: %dx%d, %d glyphs (codes %d..%d), line height %d, widths %d..%d, "
            "\"Hello\" %dx%d" % (img.shape[1], img.shape[0], len(glyphs), FONT_FIRST, FONT_LAST,
                                 line, min(widths.values()), max(widths.values()), hello, line))


def check_sheet(path, size, rects, opaque):
    """Every rectangle on the sheet and mostly painted; (0, 0) the key colour;
    the opaque rectangles fully painted."""
    import numpy as np
    from layout import KEY
    img = read_bmp24(path)
    name = os.path.basename(path)
    if (img.shape[1], img.shape[0]) != size:
        raise CheckError("%s: %dx%d, want %dx%d"
                         % ((name, img.shape[1], img.shape[0]) + tuple(size)))
    if tuple(int(v) for v in img[0, 0]) != KEY:
        raise CheckError("%s: pixel (0, 0) is %s, not the key colour %s"
                         % (name, tuple(img[0, 0]), KEY))
    key = np.all(img == np.array(KEY, dtype=np.uint8), axis=-1)
    used = np.zeros(key.shape, dtype=bool)
    for rname, (l, t, r, b) in rects.items():
        if not (0 <= l < r <= size[0] and 0 <= t < b <= size[1]):
            raise CheckError("%s: rectangle %s of %s is off the sheet" % (name, (l, t, r, b), rname))
        area = key[t:b, l:r]
        painted = 1.0 - area.mean()
        if rname in opaque and area.any():
            raise CheckError("%s: %s has transparent pixels" % (name, rname))
        if painted < 0.08:
            raise CheckError("%s: %s is nearly empty (%.0f%% painted)" % (name, rname, painted * 100))
        used[t:b, l:r] = True
    if (~key & ~used).any():
        y, x = np.argwhere(~key & ~used)[0]
        raise CheckError("%s: paint outside every rectangle at (%d, %d)" % (name, x, y))
    return "%s: %dx%d, %d rectangles, key %s at (0, 0)" % (name, size[0], size[1], len(rects), KEY)


def check_all(folder):
    from layout import (BUTTON_RECTS, PICTO_SIZE, STRIP_RECTS, THUMB_SIZE, all_picto_rects,
                        all_thumb_rects)
    notes = [check_font(os.path.join(folder, "ESfont.bmp")),
             check_sheet(os.path.join(folder, "ThumbNails.bmp"), THUMB_SIZE, all_thumb_rects(),
                         opaque=()),
             check_sheet(os.path.join(folder, "pictograms.bmp"), PICTO_SIZE, all_picto_rects(),
                         opaque=tuple(BUTTON_RECTS))]
    for rname, (l, t, r, b) in STRIP_RECTS.items():
        if not (0 <= l < r <= THUMB_SIZE[0] and 0 <= t < b <= THUMB_SIZE[1]):
            raise CheckError("ThumbNails.bmp: %s is off the sheet" % rname)
    return notes


def main(argv=None):
    ensure_modules("check_sprites")
    parser = argparse.ArgumentParser(description="Check the font and the sprite sheets.")
    parser.add_argument("--dir", default=DEFAULT_DIR, help="data folder (default: %(default)s)")
    args = parser.parse_args(argv)
    if not os.path.isdir(args.dir):
        sys.stderr.write("check_sprites: no folder %s\n" % args.dir)
        return 1
    try:
        for note in check_all(args.dir):
            print(note)
    except CheckError as e:
        sys.stderr.write("check_sprites: %s\n" % e)
        return 1
    print("check_sprites: all good")
    return 0


if __name__ == "__main__":
    sys.exit(main())
